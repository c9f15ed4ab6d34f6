#include "settings/LogViewSettings.h"

#include "engine/EngineState.h"
#include "platform/PollTimer.h"
#include "platform/ViewFonts.h"
#include "settings/WindowState.h"

int LogViewSettings::interval() const
{
    return m_window.pollTimer().interval();
}

bool LogViewSettings::setInterval(int milliseconds)
{
    // A timer cannot run at zero or a negative interval.
    if (milliseconds <= 0)
        return false;
    m_window.pollTimer().setInterval(milliseconds);
    return true;
}

qint32 LogViewSettings::characterSet() const
{
    return m_window.engineState().CharacterSet;
}

void LogViewSettings::setCharacterSet(qint32 characterSet)
{
    m_window.setCharacterSet(characterSet);
}

QString LogViewSettings::fontName() const
{
    return ViewFonts::actualFace(m_window.viewFont());
}

void LogViewSettings::setFontName(const QString &faceName)
{
    m_window.applyViewFont(faceName, fontSize());
}

double LogViewSettings::fontSize() const
{
    return m_window.viewFont().pointSizeF();
}

bool LogViewSettings::setFontSize(double points)
{
    return m_window.applyViewFont(m_window.viewFont().family(), points);
}
