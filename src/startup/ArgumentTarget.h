#pragma once

#include <QString>
#include <QtGlobal>

// What the command line may change: the main window's state and its watched-file list.
// Each setter is called once per accepted option, in command-line order, so for repeated
// options the last call wins.
class ArgumentTarget
{
public:
    virtual ~ArgumentTarget() = default;

    // The title shown in the caption; may be set to the empty text.
    virtual void setWindowTitle(const QString &title) = 0;
    // Start-up then shows each file's existing content.
    virtual void setViewMode(bool on) = 0;
    // Only ever switched on by the command line; the keyword is not looked at.
    virtual void setGrepMode(bool on) = 0;
    // Already bounded to 100..10000 ms in steps of 100.
    virtual void setInterval(int milliseconds) = 0;
    virtual void setGrepKeyword(const QString &keyword) = 0;
    // 0 Shift_JIS, 1 EUC-JP.
    virtual void setCharacterSet(qint32 characterSet) = 0;

    // Number of entries in the watched-file list, asked before each addFile.
    virtual int fileCount() const = 0;
    // Registers a file name as typed: no existence check, no conversion to a full path.
    virtual void addFile(const QString &fileName) = 0;
};
