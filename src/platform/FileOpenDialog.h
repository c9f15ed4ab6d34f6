#pragma once

#include <QString>

// The modal file-open dialog.
class FileOpenDialog
{
public:
    virtual ~FileOpenDialog() = default;
    // Returns the chosen file's full path, or the empty text when the user cancelled.
    // filterText is the display text of the single filter, pattern its wildcard.
    virtual QString open(const QString &title, const QString &filterText, const QString &pattern,
                         const QString &initialName)
        = 0;
};
