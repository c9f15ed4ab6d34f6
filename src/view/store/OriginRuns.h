#pragma once

#include "view/store/StoreTypes.h"

#include <QtGlobal>

#include <functional>
#include <memory>
#include <vector>

// Which source each line of the log came from, kept as runs: a run begins at the line where
// text of another source begins and holds until the next run. Nothing is kept per line, so
// a log of millions of lines from one file costs one run; eleven files written in turns cost
// one run per turn, eight bytes each.
//
// Origins are small numbers the caller gives meaning to; 0 means no known source (text
// that came from nowhere in particular, and every line before the first run).
//
// Runs are kept in chunks of a fixed number, so memory grows by one chunk at a time and a
// long log wastes at most one part-filled chunk. Lines are 64-bit; within a chunk they are
// held as 32-bit distances from the chunk's first line, and a run further away than that
// starts a new chunk.
class OriginRuns
{
public:
    using Origin = quint16;
    static constexpr qsizetype kRunsPerChunk = 4096;

    // Lines from `line` on come from origin, until a later run. A run at the line of the last
    // one replaces it; a line before the last run is ignored (runs only move forward).
    void record(LineNo line, Origin origin);
    // The origin of a line: that of the last run at or before it, 0 before the first.
    Origin originOf(LineNo line) const;
    // Calls visit(first line, origin) for every run that covers part of [from, to], the first
    // one starting at from, in order.
    void forEachRun(LineNo from, LineNo to, const std::function<void(LineNo, Origin)> &visit) const;
    void clear();

    qint64 runCount() const;
    // Memory held for the runs, chunk headers included.
    qint64 heldBytes() const;

private:
    struct Run
    {
        quint32 distance; // from the chunk's first line
        Origin origin;
    };
    struct Chunk
    {
        qint64 firstLine = 0;
        qsizetype used = 0;
        std::unique_ptr<Run[]> runs = std::make_unique<Run[]>(kRunsPerChunk);

        LineNo lineOf(qsizetype i) const { return LineNo(firstLine + runs[i].distance); }
    };
    // The last run at or before line: its chunk and place, or a chunk of -1 before the first.
    std::pair<qsizetype, qsizetype> locate(LineNo line) const;

    std::vector<Chunk> m_chunks;
};
