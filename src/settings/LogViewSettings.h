#pragma once

#include "settings/SettingsTarget.h"

class WindowState;

// The four stored options as they live in the main window: the timer's interval, the
// character set and the log view's font.
class LogViewSettings : public SettingsTarget
{
public:
    explicit LogViewSettings(WindowState &window)
        : m_window(window)
    {
    }

    int interval() const override;
    bool setInterval(int milliseconds) override;
    qint32 characterSet() const override;
    void setCharacterSet(qint32 characterSet) override;
    QString fontName() const override;
    void setFontName(const QString &faceName) override;
    double fontSize() const override;
    bool setFontSize(double points) override;

private:
    WindowState &m_window;
};
