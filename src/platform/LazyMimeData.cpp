#include "platform/LazyMimeData.h"

#include "platform/QtWorkProgress.h"

namespace {
const QString kPlainText = QStringLiteral("text/plain");
}

LazyMimeData::LazyMimeData(std::shared_ptr<const ClipboardText> text,
                           std::function<void()> onNoMemory)
    : m_text(std::move(text))
    , m_onNoMemory(std::move(onNoMemory))
{
}

bool LazyMimeData::makeInto(QByteArray &utf8) const
{
    if (!m_text || m_making)
        return false;
    m_making = true;
    QtWorkProgress progress(QStringLiteral("コピーしています..."));
    const ClipboardText::Outcome outcome = m_text->make(utf8, progress);
    m_making = false;
    if (outcome == ClipboardText::Outcome::NoMemory && m_onNoMemory)
        m_onNoMemory();
    return outcome == ClipboardText::Outcome::Made;
}

void LazyMimeData::settle()
{
    if (!m_made && m_text) {
        QByteArray utf8;
        if (makeInto(utf8))
            m_kept = std::move(utf8);
        m_made = true; // made, or never to be made now: nothing is left to make it from
    }
    m_text.reset();
    m_onNoMemory = nullptr;
}

bool LazyMimeData::hasFormat(const QString &type) const
{
    return type == kPlainText;
}

QStringList LazyMimeData::formats() const
{
    return {kPlainText};
}

QVariant LazyMimeData::retrieveData(const QString &type, QMetaType) const
{
    if (type != kPlainText)
        return {};
    if (m_made)
        return m_kept;
    QByteArray utf8;
    if (!makeInto(utf8))
        return {};
    if (utf8.size() <= kKeptBytes) {
        m_kept = utf8;
        m_made = true;
    }
    return utf8;
}
