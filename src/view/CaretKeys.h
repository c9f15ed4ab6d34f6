#pragma once

#include "view/ViewLayout.h"
#include "view/ViewSelection.h"

#include <optional>

class QKeyEvent;

// Where the caret goes for a key of a read-only text view, by the desktop's standard key
// bindings: characters, words, lines, pages, line start and end, text start and end, each
// with its Shift form that extends the selection.
//
// Up, Down and the page keys aim at wantedX, the x where such a run of moves began (negative:
// take the caret's own), so the caret keeps its column across shorter lines. Left and Right
// without Shift on a selection go to its edge.
namespace CaretKeys {

struct Move
{
    StoreOffset to;
    bool extend = false;
    qreal wantedX = -1; // to keep for the next move
    qint64 scrollLines = 0; // the page keys scroll the view with the caret
};

std::optional<Move> moveFor(const QKeyEvent &event, const ViewLayout &layout,
                            const TextSource &source, ViewSelection selection, qreal wantedX);

} // namespace CaretKeys
