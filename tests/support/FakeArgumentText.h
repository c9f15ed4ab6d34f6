#pragma once

#include "platform/ArgumentText.h"

// A command line given by the test as one text, or as arguments already split.
class FakeArgumentText : public ArgumentText
{
public:
    QString argumentText() const override { return text; }
    std::optional<QStringList> splitArguments() const override { return split; }
    QString text;
    std::optional<QStringList> split;
};
