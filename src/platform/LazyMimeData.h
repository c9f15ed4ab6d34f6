#pragma once

#include "platform/ClipboardText.h"

#include <QMimeData>

#include <functional>
#include <memory>
#include <optional>

// Clipboard data whose plain text is a ClipboardText, made when a program asks for it, in
// UTF-8 as X11 hands it on (no UTF-16 copy on the way), with a progress dialog that can stop
// a long one. A text of up to kKeptBytes is kept once made, for the next paste; a larger one
// is made again for each, so that it does not sit in memory while nobody pastes.
//
// A request that comes while the text is being made (the dialog lets events through) gets
// nothing rather than a second copy in memory.
class LazyMimeData : public QMimeData
{
public:
    static constexpr qsizetype kKeptBytes = qsizetype(64) << 20;

    LazyMimeData(std::shared_ptr<const ClipboardText> text, std::function<void()> onNoMemory);

    // Makes the text now and keeps it whatever its size; the source is let go.
    void settle();

    bool hasFormat(const QString &type) const override;
    QStringList formats() const override;

protected:
    QVariant retrieveData(const QString &type, QMetaType) const override;

private:
    // Whether the text was made; nullopt when this object was deleted meanwhile.
    std::optional<bool> makeInto(QByteArray &utf8) const;

    std::shared_ptr<const ClipboardText> m_text;
    std::function<void()> m_onNoMemory;
    mutable QByteArray m_kept;
    mutable bool m_made = false;
    mutable bool m_making = false;
};
