#include "startup/LogViewArguments.h"

#include "platform/PollTimer.h"
#include "startup/frmLogView.h"

void LogViewArguments::setWindowTitle(const QString &title)
{
    m_window.WindowTitle = title;
}

void LogViewArguments::setViewMode(bool on)
{
    m_window.ViewMode = on;
}

void LogViewArguments::setGrepMode(bool on)
{
    m_window.setGrepModeChecked(on);
}

void LogViewArguments::setInterval(int milliseconds)
{
    m_window.tmrCheck().setInterval(milliseconds);
}

void LogViewArguments::setGrepKeyword(const QString &keyword)
{
    m_window.engineState().GrepKeyword = keyword;
}

void LogViewArguments::setCharacterSet(qint32 characterSet)
{
    m_window.setCharacterSet(characterSet);
}

int LogViewArguments::fileCount() const
{
    return m_window.lstFile().count();
}

void LogViewArguments::addFile(const QString &fileName)
{
    m_window.addFile(fileName);
}
