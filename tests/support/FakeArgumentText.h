#pragma once

#include "platform/ArgumentText.h"

// A command line given by the test as one text.
class FakeArgumentText : public ArgumentText
{
public:
    QString argumentText() const override { return text; }
    QString text;
};
