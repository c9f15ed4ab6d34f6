#pragma once

#include "view/ColourRuns.h"
#include "view/ViewLayout.h"
#include "view/ViewSelection.h"

#include <QPalette>

class QPainter;

// Draws the lines of a view that a rectangle of its viewport touches: each line's visible
// segment only (ViewLayout::visibleSegment, one read per line), in runs of one colour, the
// selection in the palette's highlight colours. Tabs are skipped over to their stop and
// control characters drawn as their control pictures, so each run is drawn where the layout
// measured it to be.
namespace ViewPainter {

struct Look
{
    QPalette palette;
    const ColourRuns &colours;
    ViewSelection selection;
    bool caretShown = false;
};

void paint(QPainter &painter, const ViewLayout &layout, const TextSource &source, const Look &look,
           const QRect &area);

} // namespace ViewPainter
