#pragma once

#include <QColor>
#include <QtGlobal>

#include <vector>

// The text colours of the view's text, as a short list of points where the colour changes:
// nothing per line, so a log of millions of lines in one colour costs one entry or none.
// An invalid colour means the view's own text colour.
//
// Text appended later takes the colour given to append(); a selection can be recoloured with
// paint(), which leaves the colours outside the range as they were.
class ColourRuns
{
public:
    // The colour of the unit at offset.
    QColor colourAt(qint64 offset) const;
    // Text from offset on (the end of the text before an append) has colour.
    void append(qint64 offset, const QColor &colour);
    // [start, end) takes colour.
    void paint(qint64 start, qint64 end, const QColor &colour);
    void clear() { m_points.clear(); }

    // The first offset after offset where the colour changes; the largest qint64 if none.
    qint64 nextChange(qint64 offset) const;

private:
    struct Point
    {
        qint64 offset;
        QColor colour;
    };
    std::vector<Point> m_points; // ascending offsets, neighbours differ in colour
};
