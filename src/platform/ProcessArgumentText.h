#pragma once

#include "platform/ArgumentText.h"

#include <QStringList>

// The arguments of this process as Linux hands them over: already split, each a string of
// bytes. They are taken from argv before QApplication exists (Qt would take its own options,
// such as -style or -reverse, out of them) and kept as NativePath text, so a file name that
// is not valid UTF-8 reaches open() unchanged.
//
// splitArguments() gives them as they are: the tokens of the command line. argumentText()
// joins them for a reader that wants one text: single blanks between them, and an argument
// that is empty or holds a blank wrapped in double quotes. An argument that holds both a blank
// and a double quote cannot come back whole from that text, which is why the program uses the
// split arguments.
class ProcessArgumentText : public ArgumentText
{
public:
    // argv as main() receives it: the program's name first.
    ProcessArgumentText(int argc, const char *const *argv);
    // The same, already decoded.
    explicit ProcessArgumentText(const QStringList &arguments);

    QString argumentText() const override;
    std::optional<QStringList> splitArguments() const override { return m_arguments; }

private:
    QStringList m_arguments; // without the program's name
};
