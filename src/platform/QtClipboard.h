#pragma once

#include "platform/Clipboard.h"

// The desktop clipboard, plain text only. Other formats the clipboard held are replaced.
class QtClipboard : public Clipboard
{
public:
    void setText(const QString &plainText) override;
};
