#pragma once

#include <QFont>
#include <QString>
#include <QtGlobal>

class PollTimer;
struct EngineState;

// The main window's state as the stored options and the command line set it, and nothing
// more: the two reach the window through this, not into it. The window implements it.
class WindowState
{
public:
    virtual ~WindowState() = default;

    virtual PollTimer &pollTimer() = 0;
    virtual EngineState &engineState() = 0;
    // A new character set applies from the next read on; every entry forgets the set detected
    // for its file, so each period of automatic reading decides afresh.
    virtual void setCharacterSet(qint32 characterSet) = 0;
    // Grep mode and the check mark that shows it.
    virtual void setGrepModeChecked(bool on) = 0;

    virtual QFont viewFont() const = 0;
    // False, and nothing changes, for a size no font takes.
    virtual bool applyViewFont(const QString &faceName, double points) = 0;

    // The command line's title and view mode, and its files.
    virtual void setTitle(const QString &title) = 0;
    virtual void setViewMode(bool on) = 0;
    virtual int fileCount() const = 0;
    virtual void addFile(const QString &fileName) = 0;
};
