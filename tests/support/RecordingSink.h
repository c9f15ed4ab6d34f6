#pragma once

#include "engine/IncrementalReader.h"
#include "engine/TextSink.h"

#include <QList>
#include <QString>

#include <optional>

// Keeps everything the reader hands over, in order.
struct RecordingSink : TextSink
{
    struct Shown
    {
        int slot;
        QString text;
        bool continuesLine;
    };
    void show(int slot, QStringView text, bool continuesLine) override
    {
        shown.append({slot, text.toString(), continuesLine});
    }
    QString text() const
    {
        QString all;
        for (const Shown &s : shown)
            all += s.text;
        return all;
    }

    QList<Shown> shown;
};

// One whole look at entry lngIndex: the text it showed, or nullopt when a chunk failed.
inline std::optional<QString> readLook(IncrementalReader &reader, int lngIndex, qint32 characterSet)
{
    RecordingSink sink;
    Look look;
    for (;;) {
        const ReadStep step = reader.readNext(lngIndex, characterSet, look, sink);
        if (step == ReadStep::Failed)
            return std::nullopt;
        if (step == ReadStep::Done)
            return sink.text();
    }
}
