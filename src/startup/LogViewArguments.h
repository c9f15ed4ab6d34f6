#pragma once

#include "startup/ArgumentTarget.h"

class WindowState;

// What the command line's options write into the main window.
class LogViewArguments : public ArgumentTarget
{
public:
    explicit LogViewArguments(WindowState &window)
        : m_window(window)
    {
    }

    void setWindowTitle(const QString &title) override;
    void setViewMode(bool on) override;
    void setGrepMode(bool on) override;
    void setInterval(int milliseconds) override;
    void setGrepKeyword(const QString &keyword) override;
    void setCharacterSet(qint32 characterSet) override;
    int fileCount() const override;
    void addFile(const QString &fileName) override;

private:
    WindowState &m_window;
};
