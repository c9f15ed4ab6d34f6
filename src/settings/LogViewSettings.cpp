#include "settings/LogViewSettings.h"

#include "view/StoreLogView.h"
#include "platform/PollTimer.h"
#include "platform/ViewFonts.h"
#include "startup/frmLogView.h"

int LogViewSettings::interval() const
{
    return m_window.tmrCheck().interval();
}

bool LogViewSettings::setInterval(int milliseconds)
{
    // A timer cannot run at zero or a negative interval.
    if (milliseconds <= 0)
        return false;
    m_window.tmrCheck().setInterval(milliseconds);
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
    return ViewFonts::actualFace(m_window.rtfLog().font());
}

void LogViewSettings::setFontName(const QString &faceName)
{
    m_window.applyViewFont(faceName, fontSize());
}

double LogViewSettings::fontSize() const
{
    return m_window.rtfLog().font().pointSizeF();
}

bool LogViewSettings::setFontSize(double points)
{
    return m_window.applyViewFont(m_window.rtfLog().font().family(), points);
}
