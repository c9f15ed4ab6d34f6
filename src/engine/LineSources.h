#pragma once

#include <QString>
#include <QVector>

#include <optional>

// The sources the log view's lines are marked with: one small number (an origin, from 1) for
// each pair of slot and path that has been watched in this run. A line keeps its number after
// its file is removed, so a slot given to another file later never claims that file's old
// lines; the same file added again in the same slot gets its number back.
//
// Numbers are 16-bit, as the view stores them. A run that watches more than 65,535 different
// pairs (hours of adding and removing files) gives the lines of the further ones no origin.
class LineSources
{
public:
    struct Source
    {
        int slot;
        QString path;
    };

    // The origin for lines read from path through slot.
    quint16 originFor(int slot, const QString &path);
    // Slot and path of an origin; nullopt for 0 and for numbers never handed out.
    std::optional<Source> source(quint16 origin) const;

private:
    QVector<Source> m_sources; // origin n is m_sources[n - 1]
};
