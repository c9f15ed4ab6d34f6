#include "startup/LogViewArguments.h"

#include "engine/EngineState.h"
#include "platform/PollTimer.h"
#include "settings/WindowState.h"

void LogViewArguments::setWindowTitle(const QString &title)
{
    m_window.setTitle(title);
}

void LogViewArguments::setViewMode(bool on)
{
    m_window.setViewMode(on);
}

void LogViewArguments::setGrepMode(bool on)
{
    m_window.setGrepModeChecked(on);
}

void LogViewArguments::setInterval(int milliseconds)
{
    m_window.pollTimer().setInterval(milliseconds);
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
    return m_window.fileCount();
}

void LogViewArguments::addFile(const QString &fileName)
{
    m_window.addFile(fileName);
}
