#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The process's command line after the program's own name.
class ArgumentText
{
public:
    virtual ~ArgumentText() = default;
    // The command line as one text, ready to be cut into tokens with a blank as delimiter.
    virtual QString argumentText() const = 0;
    // The arguments one by one where the system hands them over already split (Linux): each
    // is a token as it stands, so no blank or double quote inside an argument can cut it
    // apart. nullopt where the command line comes as one text.
    virtual std::optional<QStringList> splitArguments() const { return std::nullopt; }
};
