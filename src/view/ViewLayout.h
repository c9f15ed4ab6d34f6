#pragma once

#include "view/GlyphMetrics.h"
#include "view/ViewSelection.h"
#include "view/store/TextSource.h"

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <vector>

// Where text is on the screen, and what is at a point: the top line and horizontal scroll
// position against the font's metrics, and from them line, column and pixel both ways. It
// paints nothing and reads only what it is asked about.
//
// Lines are never wrapped. x is measured in pixels from the start of a line; the viewport
// shows x in [left, left + width). A line of up to kStride units is measured whole each time;
// a longer one (a 50 MB line) is measured in strides of kStride units whose start x is
// remembered as far as anyone has looked, for the last few such lines, so the columns
// visible after a horizontal scroll cost one read of a stride or two, not the whole line.
class ViewLayout
{
public:
    static constexpr qint64 kStride = 4096;

    explicit ViewLayout(const TextSource &source);

    void setFont(const QFont &font);
    const GlyphMetrics &metrics() const { return m_metrics; }
    void setViewportSize(QSize size) { m_size = size; }
    QSize viewportSize() const { return m_size; }

    LineNo topLine() const { return m_top; }
    void setTopLine(LineNo line); // clamped to [0, lastTopLine()]
    LineNo lastTopLine() const;
    qreal left() const { return m_left; }
    void setLeft(qreal x) { m_left = std::max<qreal>(0, x); }
    // Lines wholly inside the viewport (at least one), and lines touched by it.
    qint64 fullLines() const;
    qint64 shownLines() const;

    // A line's visible part: the units that cover [left, left + width).
    struct Segment
    {
        StoreOffset start; // of the first unit shown
        qreal x = 0; // where that unit begins
        QString text;
        StoreOffset lineEnd; // where the line's text ends, before its CR LF
    };
    Segment visibleSegment(LineNo line) const;

    qreal xOf(StoreOffset offset) const;
    // The position nearest x in the line (never inside its CR LF).
    StoreOffset offsetAtX(LineNo line, qreal x) const;
    // The position under a point of the viewport; above the text means line 0, below it the
    // last line, left of it the line's start.
    StoreOffset positionAt(QPoint point) const;
    // The caret's rectangle in viewport coordinates, one pixel wide; far off-screen values
    // are clamped to stay in int.
    QRect caretRect(StoreOffset offset) const;
    // Around a selection's first line in viewport coordinates: from its start to its end, or
    // to the right edge when it goes on below.
    QRect selectionRect(ViewSelection selection) const;
    // How wide a line is: exact for lines of up to kStride units or measured to their end,
    // estimated from what was measured for longer ones.
    qreal lineWidth(LineNo line) const;

    // Forgets long-line measurements; call when the text is cleared.
    void forgetLines() const { m_longLines.clear(); }

private:
    struct Anchor
    {
        qint64 offset;
        qreal x;
    };
    struct LongLine
    {
        qint64 start = 0;
        qint64 end = 0;
        std::vector<qreal> xs; // x at start + k * kStride
        quint64 lastUse = 0;
    };
    LongLine &longLine(qint64 start, qint64 end) const;
    bool extend(LongLine &line) const;
    Anchor anchorAtOffset(qint64 start, qint64 end, qint64 offset) const;
    Anchor anchorAtX(qint64 start, qint64 end, qreal x) const;

    const TextSource &m_source;
    GlyphMetrics m_metrics;
    QSize m_size;
    LineNo m_top;
    qreal m_left = 0;
    mutable std::vector<LongLine> m_longLines;
    mutable quint64 m_clock = 0;
};
