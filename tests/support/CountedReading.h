#pragma once

#include "CountingLogView.h"

#include "engine/EngineState.h"
#include "engine/IncrementalReader.h"
#include "engine/LogAppender.h"
#include "engine/WatchedFileTable.h"
#include "platform/Cp932Decoder.h"

// The reading path as the main window wires it, over one entry read from its first byte, into
// a view that only counts: the path measured and tested on its own. files and clock must
// outlive it.
struct CountedReading
{
    CountedReading(const FileAccess &files, const Clock &clock, const QString &path)
        : reader(files, decoder, table, clock)
    {
        table.append(path, 0);
        table.setFilePointer(0, 1);
    }

    Cp932Decoder decoder;
    WatchedFileTable table;
    IncrementalReader reader;
    EngineState state;
    CountingLogView view;
    LogAppender appender {reader, state, view};
};
