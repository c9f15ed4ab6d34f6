#pragma once

#include "platform/FileOpenDialog.h"

#include <QStringList>

// Answers from a scripted queue of paths (the empty text, i.e. cancel, once it is empty) and
// records how it was asked.
class FakeFileOpenDialog : public FileOpenDialog
{
public:
    QString open(const QString &title, const QString &filterText, const QString &pattern,
                 const QString &initialName) override;

    QStringList answers;
    int calls = 0;
    QString lastTitle;
    QString lastFilterText;
    QString lastPattern;
    QString lastInitialName;
};
