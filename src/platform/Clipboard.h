#pragma once

#include <QString>

class Clipboard
{
public:
    virtual ~Clipboard() = default;
    virtual void setText(const QString &plainText) = 0;
};
