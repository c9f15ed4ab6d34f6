#pragma once

#include "platform/ArgumentText.h"

#include <QStringList>

// Linux hands the arguments over already split, so they are joined again: single blanks
// between them, and an argument that is empty or holds a blank wrapped in double quotes, so
// that splitting with a blank gives each such argument back as one token.
//
// Edge cases: no arguments give the empty text; an empty argument becomes "" and so an empty
// token. An argument that holds both a blank and a double quote (/w="my title") cannot come
// back whole: the tokenizer ends a quoted token at its second double quote.
class ProcessArgumentText : public ArgumentText
{
public:
    // Reads QCoreApplication::arguments(); the application object must exist.
    ProcessArgumentText();
    // arguments as QCoreApplication::arguments() gives them: the program's name first.
    explicit ProcessArgumentText(const QStringList &arguments);

    QString argumentText() const override;

private:
    QStringList m_arguments; // without the program's name
};
