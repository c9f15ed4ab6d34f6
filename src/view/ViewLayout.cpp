#include "view/ViewLayout.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {
constexpr size_t kLongLinesKept = 4;
}

ViewLayout::ViewLayout(const TextSource &source)
    : m_source(source)
{
}

void ViewLayout::setFont(const QFont &font)
{
    m_metrics = GlyphMetrics(font);
    m_longLines.clear();
}

LineNo ViewLayout::lastTopLine() const
{
    return LineNo(std::max<qint64>(0, m_source.lineCount() - fullLines()));
}

void ViewLayout::setTopLine(LineNo line)
{
    m_top = std::clamp(line, LineNo(0), lastTopLine());
}

qint64 ViewLayout::fullLines() const
{
    return std::max(1, m_size.height() / m_metrics.lineHeight());
}

qint64 ViewLayout::shownLines() const
{
    const int height = m_metrics.lineHeight();
    return std::max(1, (m_size.height() + height - 1) / height);
}

ViewLayout::LongLine &ViewLayout::longLine(qint64 start, qint64 end) const
{
    for (LongLine &line : m_longLines) {
        if (line.start == start) {
            // The last line of the log grows; what was measured of it stays right.
            line.end = end;
            line.lastUse = ++m_clock;
            return line;
        }
    }
    if (m_longLines.size() == kLongLinesKept) {
        m_longLines.erase(std::min_element(
            m_longLines.begin(), m_longLines.end(),
            [](const LongLine &a, const LongLine &b) { return a.lastUse < b.lastUse; }));
    }
    m_longLines.push_back({start, end, {0.0}, ++m_clock});
    return m_longLines.back();
}

bool ViewLayout::extend(LongLine &line) const
{
    const qint64 from = line.start + qint64(line.xs.size() - 1) * kStride;
    if (from + kStride > line.end)
        return false;
    const QString stride = m_source.read(StoreOffset(from), kStride).text;
    line.xs.push_back(m_metrics.advanceOver(stride, line.xs.back()));
    return true;
}

ViewLayout::Anchor ViewLayout::anchorAtOffset(qint64 start, qint64 end, qint64 offset) const
{
    if (end - start <= kStride || offset - start < kStride)
        return {start, 0};
    LongLine &line = longLine(start, end);
    const size_t wanted = size_t((offset - start) / kStride);
    while (line.xs.size() <= wanted && extend(line)) { }
    const size_t k = std::min(wanted, line.xs.size() - 1);
    return {start + qint64(k) * kStride, line.xs[k]};
}

ViewLayout::Anchor ViewLayout::anchorAtX(qint64 start, qint64 end, qreal x) const
{
    if (end - start <= kStride)
        return {start, 0};
    LongLine &line = longLine(start, end);
    while (line.xs.back() <= x && extend(line)) { }
    // The last stride start at or left of x.
    const auto after = std::upper_bound(line.xs.begin(), line.xs.end(), x);
    const size_t k = size_t(std::max<qsizetype>(0, (after - line.xs.begin()) - 1));
    return {start + qint64(k) * kStride, line.xs[k]};
}

qreal ViewLayout::xOf(StoreOffset offset) const
{
    const LineNo line = m_source.lineOf(offset);
    const qint64 start = m_source.lineStart(line).value;
    const qint64 end = m_source.lineEnd(line).value;
    const qint64 at = std::clamp(offset.value, start, end);
    const Anchor anchor = anchorAtOffset(start, end, at);
    const QString text = m_source.read(StoreOffset(anchor.offset), at - anchor.offset).text;
    return m_metrics.advanceOver(text, anchor.x);
}

StoreOffset ViewLayout::offsetAtX(LineNo line, qreal x) const
{
    const qint64 start = m_source.lineStart(line).value;
    const qint64 end = m_source.lineEnd(line).value;
    const Anchor anchor = anchorAtX(start, end, x);
    const QString text
        = m_source.read(StoreOffset(anchor.offset), std::min(end - anchor.offset, 2 * kStride))
              .text;
    qreal at = anchor.x;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qreal width = m_metrics.advance(text, i, at);
        if (at + width / 2 > x)
            return StoreOffset(anchor.offset + i);
        at += width;
    }
    return StoreOffset(anchor.offset + text.size());
}

StoreOffset ViewLayout::positionAt(QPoint point) const
{
    const qint64 row = point.y() < 0 ? -1 : point.y() / m_metrics.lineHeight();
    const LineNo line = std::clamp(m_top + row, LineNo(0), LineNo(m_source.lineCount() - 1));
    if (m_top.value + row < 0)
        return StoreOffset(0);
    if (m_top.value + row >= m_source.lineCount())
        return StoreOffset(m_source.size());
    return offsetAtX(line, std::max<qreal>(0, m_left + point.x()));
}

QRect ViewLayout::caretRect(StoreOffset offset) const
{
    const qint64 row = m_source.lineOf(offset) - m_top;
    const qint64 limit = std::numeric_limits<int>::max() / 2;
    const qint64 y = std::clamp<qint64>(row * m_metrics.lineHeight(), -limit, limit);
    const qint64 x = std::clamp<qint64>(qint64(std::floor(xOf(offset) - m_left)), -limit, limit);
    return QRect(int(x), int(y), 1, m_metrics.lineHeight());
}

QRect ViewLayout::selectionRect(ViewSelection selection) const
{
    const QRect first = caretRect(selection.start());
    const QRect last = caretRect(selection.end());
    const int right = last.top() == first.top() ? last.right() : m_size.width() - 1;
    return QRect(QPoint(first.left(), first.top()),
                 QPoint(std::max(first.left(), right), first.bottom()));
}

ViewLayout::Segment ViewLayout::visibleSegment(LineNo line) const
{
    Segment segment;
    const qint64 start = m_source.lineStart(line).value;
    const qint64 end = m_source.lineEnd(line).value;
    segment.lineEnd = StoreOffset(end);
    const Anchor anchor = anchorAtX(start, end, m_left);
    const qreal right = m_left + m_size.width();
    // Enough units to cover the width even in the narrowest glyphs seen in practice.
    const qint64 wanted = (anchor.x < m_left ? kStride : 0) + m_size.width() + 2;
    const QString text
        = m_source.read(StoreOffset(anchor.offset), std::min(end - anchor.offset, wanted)).text;
    qreal x = anchor.x;
    qsizetype first = 0;
    while (first < text.size()) {
        const qreal width = m_metrics.advance(text, first, x);
        if (x + width > m_left)
            break;
        x += width;
        ++first;
    }
    qsizetype last = first;
    for (qreal at = x; last < text.size() && at < right; ++last)
        at += m_metrics.advance(text, last, at);
    segment.start = StoreOffset(anchor.offset + first);
    segment.x = x;
    segment.text = text.sliced(first, last - first);
    return segment;
}

qreal ViewLayout::lineWidth(LineNo line) const
{
    const qint64 start = m_source.lineStart(line).value;
    const qint64 end = m_source.lineEnd(line).value;
    if (end - start <= kStride)
        return m_metrics.advanceOver(m_source.read(StoreOffset(start), end - start).text, 0);
    LongLine &measured = longLine(start, end);
    if (measured.xs.size() == 1)
        extend(measured);
    const qint64 covered = qint64(measured.xs.size() - 1) * kStride;
    // The rest at the mean width of what was measured.
    return measured.xs.back() + qreal(end - start - covered) * measured.xs.back() / qreal(covered);
}
