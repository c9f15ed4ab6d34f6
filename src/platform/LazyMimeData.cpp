#include "platform/LazyMimeData.h"

#include "platform/QtWorkProgress.h"

#include <QPointer>

namespace {
const QString kPlainText = QStringLiteral("text/plain");
}

LazyMimeData::LazyMimeData(std::shared_ptr<const ClipboardText> text,
                           std::function<void()> onNoMemory)
    : m_text(std::move(text))
    , m_onNoMemory(std::move(onNoMemory))
{
}

std::optional<bool> LazyMimeData::makeInto(QByteArray &utf8) const
{
    if (!m_text || m_making)
        return false;
    // Events pass while the text is made, and a program that takes the clipboard meanwhile
    // has Qt delete this object: what the making needs is held here, and the object is
    // touched afterwards only if it is still there.
    const QPointer<const LazyMimeData> self(this);
    const std::shared_ptr<const ClipboardText> text = m_text;
    const std::function<void()> onNoMemory = m_onNoMemory;
    m_making = true;
    QtWorkProgress progress(QStringLiteral("コピーしています..."));
    const ClipboardText::Outcome outcome = text->make(utf8, progress);
    if (outcome == ClipboardText::Outcome::NoMemory && onNoMemory)
        onNoMemory();
    if (!self)
        return std::nullopt;
    m_making = false;
    return outcome == ClipboardText::Outcome::Made;
}

void LazyMimeData::settle()
{
    if (!m_made && m_text) {
        QByteArray utf8;
        const std::optional<bool> made = makeInto(utf8);
        if (!made)
            return;
        if (*made)
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
    const std::optional<bool> made = makeInto(utf8);
    // An empty text, not an invalid answer, when the making failed or was stopped: Qt asks
    // again after an invalid one, which would make the text a second time.
    if (!made || !*made)
        return utf8; // left empty unless made
    if (utf8.size() <= kKeptBytes) {
        m_kept = utf8;
        m_made = true;
    }
    return utf8;
}
