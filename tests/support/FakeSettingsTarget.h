#pragma once

#include "settings/SettingsLoader.h"
#include "settings/SettingsTarget.h"

#include <QStringList>

// The four running settings as plain values, starting at the built-in defaults. Every change
// is logged in order ("interval 900", "encode 1", "face Courier", "size 10.5"); log() adds
// other calls a test wants to see in the same sequence. Like the log view, it refuses font
// sizes outside (0, 1638] and keeps the size it had.
class FakeSettingsTarget : public SettingsTarget
{
public:
    int interval() const override { return m_interval; }
    bool setInterval(int ms) override
    {
        return log(QStringLiteral("interval %1").arg(m_interval = ms));
    }
    qint32 characterSet() const override { return m_characterSet; }
    void setCharacterSet(qint32 value) override
    {
        log(QStringLiteral("encode %1").arg(m_characterSet = value));
    }
    QString fontName() const override { return m_face; }
    void setFontName(const QString &face) override
    {
        log(QStringLiteral("face ") + (m_face = face));
    }
    double fontSize() const override { return m_size; }
    bool setFontSize(double points) override
    {
        log(QStringLiteral("size ") + SettingsLoader::formatFontSize(points));
        if (!(points > 0 && points <= 1638))
            return false;
        m_size = points;
        return true;
    }

    // Always true, so it can stand for a call that succeeds.
    bool log(const QString &call)
    {
        calls << call;
        return true;
    }

    int m_interval = 1000;
    qint32 m_characterSet = 0;
    QString m_face = QStringLiteral("Terminal");
    double m_size = 14;
    QStringList calls;
};
