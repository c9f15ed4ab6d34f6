#pragma once

#include "platform/Clipboard.h"

#include <QPointer>

class LazyMimeData;

// The desktop clipboard, plain text only, made when pasted (LazyMimeData). Other formats the
// clipboard held are replaced.
class QtClipboard : public Clipboard
{
public:
    void offer(std::shared_ptr<const ClipboardText> text,
               std::function<void()> onNoMemory) override;
    void settle() override;

private:
    QPointer<LazyMimeData> m_offered; // the clipboard owns it; gone once replaced
};
