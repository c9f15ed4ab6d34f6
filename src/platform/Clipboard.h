#pragma once

#include "platform/ClipboardText.h"

#include <functional>
#include <memory>

// The desktop's clipboard, plain text only.
class Clipboard
{
public:
    virtual ~Clipboard() = default;

    // Puts text on the clipboard, to be made when a program pastes it; other formats the
    // clipboard held are replaced. A null text empties the clipboard. onNoMemory runs (on the
    // user-interface thread) when making the text fails for want of memory.
    virtual void offer(std::shared_ptr<const ClipboardText> text, std::function<void()> onNoMemory)
        = 0;
    // Makes the offered text now, while what it is made from still exists, and keeps it; the
    // view calls this before it is cleared, the program before it ends. Does nothing when the
    // clipboard holds another program's data by now.
    virtual void settle() = 0;
};
