#include "view/store/OriginRuns.h"

#include <algorithm>
#include <limits>

void OriginRuns::record(LineNo line, Origin origin)
{
    if (!m_chunks.empty()) {
        Chunk &last = m_chunks.back();
        const LineNo lastLine = last.lineOf(last.used - 1);
        if (line < lastLine)
            return;
        if (line == lastLine) {
            last.runs[last.used - 1].origin = origin;
            // A replaced run may now repeat the one before it; the lookups do not mind.
            return;
        }
        if (last.runs[last.used - 1].origin == origin)
            return;
        const qint64 distance = line.value - last.firstLine;
        if (last.used < kRunsPerChunk && distance <= std::numeric_limits<quint32>::max()) {
            last.runs[last.used++] = Run {quint32(distance), origin};
            return;
        }
    } else if (origin == 0) {
        return; // lines before the first run have no origin already
    }
    Chunk chunk;
    chunk.firstLine = line.value;
    chunk.runs[0] = Run {0, origin};
    chunk.used = 1;
    m_chunks.push_back(std::move(chunk));
}

std::pair<qsizetype, qsizetype> OriginRuns::locate(LineNo line) const
{
    const auto after
        = std::partition_point(m_chunks.begin(), m_chunks.end(),
                               [line](const Chunk &c) { return c.firstLine <= line.value; });
    if (after == m_chunks.begin())
        return {-1, 0};
    const Chunk &chunk = *(after - 1);
    const qint64 distance = line.value - chunk.firstLine;
    const Run *first = chunk.runs.get();
    const Run *next = std::partition_point(first, first + chunk.used, [distance](const Run &r) {
        return qint64(r.distance) <= distance;
    });
    return {(after - 1) - m_chunks.begin(), (next - first) - 1};
}

OriginRuns::Origin OriginRuns::originOf(LineNo line) const
{
    const auto [chunk, run] = locate(line);
    return chunk < 0 ? 0 : m_chunks[size_t(chunk)].runs[run].origin;
}

void OriginRuns::forEachRun(LineNo from, LineNo to,
                            const std::function<void(LineNo, Origin)> &visit) const
{
    auto [chunk, run] = locate(from);
    if (chunk < 0) {
        visit(from, 0);
        chunk = 0;
        run = 0;
        if (m_chunks.empty())
            return;
    } else {
        visit(from, m_chunks[size_t(chunk)].runs[run].origin);
        ++run;
    }
    for (; chunk < qsizetype(m_chunks.size()); ++chunk, run = 0) {
        const Chunk &c = m_chunks[size_t(chunk)];
        for (; run < c.used; ++run) {
            const LineNo line = c.lineOf(run);
            if (line > to)
                return;
            visit(line, c.runs[run].origin);
        }
    }
}

void OriginRuns::clear()
{
    std::vector<Chunk>().swap(m_chunks);
}

qint64 OriginRuns::runCount() const
{
    qint64 runs = 0;
    for (const Chunk &chunk : m_chunks)
        runs += chunk.used;
    return runs;
}

qint64 OriginRuns::heldBytes() const
{
    return qint64(m_chunks.capacity() * sizeof(Chunk))
        + qint64(m_chunks.size()) * kRunsPerChunk * qint64(sizeof(Run));
}
