#pragma once

#include <QString>
#include <QtGlobal>

// Where the four persistent settings live while the program runs: the polling timer, the
// main window's CharacterSet and the log view's font. Loading writes into it, saving reads the
// values in force back out, command-line overrides included.
class SettingsTarget
{
public:
    virtual ~SettingsTarget() = default;

    virtual int interval() const = 0;
    // False when the timer refuses the value; the load then stops there.
    virtual bool setInterval(int milliseconds) = 0;

    virtual qint32 characterSet() const = 0;
    virtual void setCharacterSet(qint32 characterSet) = 0;

    // The face the view's font actually uses, which may differ from the one asked for.
    virtual QString fontName() const = 0;
    virtual void setFontName(const QString &faceName) = 0;

    virtual double fontSize() const = 0;
    // False when the font refuses the size; the load then stops there.
    virtual bool setFontSize(double points) = 0;
};
