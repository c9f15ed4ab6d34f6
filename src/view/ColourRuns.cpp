#include "view/ColourRuns.h"

#include <algorithm>
#include <limits>

namespace {
template<typename Points>
auto firstAfter(Points &points, qint64 offset)
{
    return std::upper_bound(points.begin(), points.end(), offset,
                            [](qint64 at, const auto &point) { return at < point.offset; });
}
} // namespace

QColor ColourRuns::colourAt(qint64 offset) const
{
    const auto after = firstAfter(m_points, offset);
    return after == m_points.begin() ? QColor() : std::prev(after)->colour;
}

qint64 ColourRuns::nextChange(qint64 offset) const
{
    const auto after = firstAfter(m_points, offset);
    return after == m_points.end() ? std::numeric_limits<qint64>::max() : after->offset;
}

void ColourRuns::append(qint64 offset, const QColor &colour)
{
    if (colourAt(offset) == colour)
        return;
    // Points at or after offset describe text that is not there (yet).
    m_points.erase(firstAfter(m_points, offset - 1), m_points.end());
    m_points.push_back({offset, colour});
}

void ColourRuns::paint(qint64 start, qint64 end, const QColor &colour)
{
    if (start >= end)
        return;
    const QColor after = colourAt(end);
    m_points.erase(firstAfter(m_points, start - 1), firstAfter(m_points, end));
    const auto at = firstAfter(m_points, start - 1);
    const auto inserted = m_points.insert(at, {start, colour});
    m_points.insert(inserted + 1, {end, after});
    // Drop points that change nothing.
    std::vector<Point> kept;
    for (const Point &point : m_points) {
        const QColor before = kept.empty() ? QColor() : kept.back().colour;
        if (point.colour != before)
            kept.push_back(point);
    }
    m_points.swap(kept);
}
