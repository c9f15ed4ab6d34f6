#pragma once

#include "platform/Clipboard.h"

// Keeps the last text put on it and how often it was set.
class FakeClipboard : public Clipboard
{
public:
    void setText(const QString &plainText) override
    {
        text = plainText;
        ++calls;
    }

    QString text;
    int calls = 0;
};
