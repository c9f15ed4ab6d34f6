#pragma once

#include "FakeClock.h"

#include "engine/EngineState.h"
#include "engine/IncrementalReader.h"
#include "engine/LogAppender.h"
#include "engine/WatchedFileTable.h"
#include "platform/Cp932Decoder.h"
#include "platform/LocalFileAccess.h"
#include "view/StoreLogView.h"

#include <QTemporaryDir>

// Real log files in a temporary folder, followed through the real table and reader into a
// real view, wired as the main window wires them. The reader's clock stands still unless the
// test moves it, so unfinished lines wait for their end.
struct WatchedLogs
{
    explicit WatchedLogs(ReadLimits limits = {})
        : reader(files, decoder, table, clock, limits)
    {
    }

    QTemporaryDir dir;
    LocalFileAccess files;
    Cp932Decoder decoder;
    WatchedFileTable table;
    FakeClock clock;
    IncrementalReader reader;
    EngineState state;
    StoreLogView view;
    LogAppender appender {reader, state, view};

    QString pathOf(const QString &name) const { return dir.filePath(name); }
    // Appends to the file, creating it when missing.
    void append(const QString &name, const QByteArray &bytes);
    // Creates the file when missing, lists it with the lowest free slot and places its read
    // position at its end, as start-up does.
    void watch(const QString &name);
    qint64 position(int lngIndex) const { return table.filePointerOfEntry(lngIndex).value_or(-1); }
};
