#pragma once

#include "view/ColourRuns.h"
#include "view/LineStyler.h"
#include "view/ViewLayout.h"
#include "view/ViewSelection.h"

#include <QImage>
#include <QPalette>

#include <vector>

class QPainter;

// Draws the lines of a view that a rectangle of its viewport touches: each line's visible
// segment only (ViewLayout::visibleSegment, one read per line), in runs of one colour, the
// selection in the palette's highlight colours. Highlight rules and the find word colour what
// they match (LineStyler), made readable on the ground they meet (ReadableColours); the
// selection keeps its own colours over them. Tabs are skipped over to their stop and
// control characters drawn as their control pictures, so each run is drawn where the layout
// measured it to be.
//
// Antialiased glyphs cost Qt about a microsecond each to draw, so each line drawn is kept as
// an image and drawn again from there while nothing that shows in it has changed (its text,
// the scroll position, the selection's part in it, the style): a blinking caret, a selection
// being dragged or a window uncovered repaint in a fraction of the time. The cache keeps about
// two screens of lines.
namespace ViewPainter {

struct Look
{
    QPalette palette;
    const ColourRuns &colours;
    const LineStyler *styler = nullptr; // none: no rules
    ViewSelection selection;
    bool caretShown = false;
    quint64 styleVersion = 0; // changes with font, palette, colours, rules and find word
    qreal devicePixelRatio = 1;
};

class LineImages
{
public:
    struct Key
    {
        qint64 lineStart = -1;
        qint64 segmentStart = 0;
        qint64 segmentLength = 0;
        qint64 lineEnd = 0;
        qint64 selectedFrom = 0;
        qint64 selectedTo = 0;
        qreal left = 0;
        int width = 0;
        quint64 styleVersion = 0;
        bool operator==(const Key &) const = default;
    };

    const QImage *find(const Key &key);
    void put(const Key &key, QImage image, qint64 keep);
    void clear() { m_entries.clear(); }

private:
    struct Entry
    {
        Key key;
        QImage image;
        quint64 lastUse = 0;
    };
    std::vector<Entry> m_entries;
    quint64 m_clock = 0;
};

void paint(QPainter &painter, const ViewLayout &layout, const TextSource &source, const Look &look,
           const QRect &area, LineImages &images);

} // namespace ViewPainter
