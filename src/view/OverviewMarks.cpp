#include "view/OverviewMarks.h"

#include <algorithm>
#include <cmath>

namespace {

// The earlier of two lines, -1 being none.
qint64 earlier(qint64 a, qint64 b)
{
    return a < 0 ? b : b < 0 ? a : std::min(a, b);
}

} // namespace

OverviewMarks::Bin &OverviewMarks::binFor(LineNo line)
{
    if (m_bins.empty())
        m_bins.resize(kBins);
    while ((line.value >> m_shift) >= kBins) {
        // Pairs of bins become one; the upper half is free again.
        for (int b = 0; b < kBins / 2; ++b) {
            const Bin &low = m_bins[size_t(2 * b)];
            const Bin &high = m_bins[size_t(2 * b + 1)];
            Bin merged;
            merged.rule = low.rule < 0 ? high.rule
                : high.rule < 0        ? low.rule
                                       : std::min(low.rule, high.rule);
            merged.ruleLine = merged.rule == low.rule ? low.ruleLine : high.ruleLine;
            merged.findLine = earlier(low.findLine, high.findLine);
            m_bins[size_t(b)] = merged;
        }
        std::fill(m_bins.begin() + kBins / 2, m_bins.end(), Bin());
        ++m_shift;
    }
    return m_bins[size_t(line.value >> m_shift)];
}

void OverviewMarks::markRule(LineNo line, int rule)
{
    Bin &bin = binFor(line);
    if (bin.rule < 0 || rule < bin.rule) {
        bin.rule = rule;
        bin.ruleLine = line.value;
        ++m_version;
    } else if (rule == bin.rule && line.value < bin.ruleLine) {
        bin.ruleLine = line.value;
        ++m_version;
    }
}

void OverviewMarks::markFind(LineNo line)
{
    Bin &bin = binFor(line);
    if (bin.findLine < 0 || line.value < bin.findLine) {
        bin.findLine = line.value;
        ++m_version;
    }
}

void OverviewMarks::clearRules()
{
    for (Bin &bin : m_bins)
        bin.rule = -1, bin.ruleLine = -1;
    ++m_version;
}

void OverviewMarks::clearFinds()
{
    for (Bin &bin : m_bins)
        bin.findLine = -1;
    ++m_version;
}

void OverviewMarks::clear()
{
    std::vector<Bin>().swap(m_bins);
    m_shift = 0;
    ++m_version;
}

int OverviewMarks::rowOf(LineNo line, qint64 lineCount, int height)
{
    if (lineCount <= 0 || height <= 0)
        return 0;
    // In floating point: a line number times a height overflows 64 bits past 2^63 / height.
    const double row
        = double(std::clamp<qint64>(line.value, 0, lineCount - 1)) * height / double(lineCount);
    return std::clamp(int(row), 0, height - 1);
}

LineNo OverviewMarks::lineOfRow(int row, qint64 lineCount, int height)
{
    if (lineCount <= 0 || height <= 0)
        return LineNo(0);
    const double line = std::ceil(double(std::clamp(row, 0, height)) * double(lineCount) / height);
    return LineNo(std::clamp<qint64>(qint64(line), 0, lineCount - 1));
}

std::vector<OverviewMarks::Row> OverviewMarks::rows(qint64 lineCount, int height) const
{
    std::vector<Row> rows(size_t(std::max(height, 0)));
    if (height <= 0)
        return rows;
    for (const Bin &bin : m_bins) {
        if (bin.rule >= 0) {
            Row &row = rows[size_t(rowOf(LineNo(bin.ruleLine), lineCount, height))];
            if (row.rule < 0 || bin.rule < row.rule) {
                row.rule = bin.rule;
                row.ruleLine = bin.ruleLine;
            }
        }
        if (bin.findLine >= 0) {
            Row &row = rows[size_t(rowOf(LineNo(bin.findLine), lineCount, height))];
            row.findLine = earlier(row.findLine, bin.findLine);
        }
    }
    return rows;
}
