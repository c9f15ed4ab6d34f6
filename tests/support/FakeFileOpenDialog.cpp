#include "FakeFileOpenDialog.h"

QString FakeFileOpenDialog::open(const QString &title, const QString &filterText,
                                 const QString &pattern, const QString &initialName)
{
    ++calls;
    lastTitle = title;
    lastFilterText = filterText;
    lastPattern = pattern;
    lastInitialName = initialName;
    return answers.isEmpty() ? QString() : answers.takeFirst();
}
