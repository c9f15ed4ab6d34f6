#include "platform/QtClipboard.h"

#include "platform/LazyMimeData.h"

#include <QClipboard>
#include <QGuiApplication>

void QtClipboard::offer(std::shared_ptr<const ClipboardText> text, std::function<void()> onNoMemory)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return;
    if (!text) {
        clipboard->clear(QClipboard::Clipboard);
        return;
    }
    auto *data = new LazyMimeData(std::move(text), std::move(onNoMemory));
    m_offered = data;
    clipboard->setMimeData(data, QClipboard::Clipboard);
}

void QtClipboard::settle()
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (m_offered && clipboard && clipboard->mimeData(QClipboard::Clipboard) == m_offered.data())
        m_offered->settle();
}
