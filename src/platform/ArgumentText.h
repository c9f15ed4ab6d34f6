#pragma once

#include <QString>

// The process's command line after the program's own name, as one text, ready to be cut into
// tokens with a blank as delimiter.
class ArgumentText
{
public:
    virtual ~ArgumentText() = default;
    virtual QString argumentText() const = 0;
};
