#pragma once

#include "view/store/TextSource.h"

#include <utility>

// Where the caret goes for the keys and clicks of a read-only text view, over any text
// source. A line break (CR LF) and a surrogate pair are each one step; no position returned
// ever falls between the CR and the LF of a break or inside a pair.
namespace ViewNavigation {

StoreOffset nextPosition(const TextSource &source, StoreOffset offset);
StoreOffset previousPosition(const TextSource &source, StoreOffset offset);
// The position itself, or the one before when it falls inside a CR LF.
StoreOffset snapped(const TextSource &source, StoreOffset offset);

// The word around offset, by Unicode word boundaries within its line (looked at up to 1,000
// units either side): a double-click's selection. Outside any word, the gap it falls in.
std::pair<StoreOffset, StoreOffset> wordAt(const TextSource &source, StoreOffset offset);
// The start of the next word, or of the current or previous one (Ctrl+Right, Ctrl+Left).
StoreOffset nextWord(const TextSource &source, StoreOffset offset);
StoreOffset previousWord(const TextSource &source, StoreOffset offset);

} // namespace ViewNavigation
