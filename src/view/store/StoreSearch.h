#pragma once

#include "view/store/LogStore.h"
#include "view/store/StoreTypes.h"

#include <QStringView>

#include <optional>

class ByteMatcher;

// Find in the store where the text is kept: block by block, on the encoded bytes, never
// copying the whole text out. The answers are exactly those of TextSearch over the store's
// whole text (same folding), block edges included: a word that straddles two or more blocks
// is found once, where it begins. Blocks whose pairs of bytes show that they cannot hold the
// word are passed by unread (LogStore::Passing), so a rare word is found without
// decompressing most of the log.
//
// A damaged block (StoreTypes.h) holds no hit, and no hit runs across one. The empty word
// finds nothing.
namespace StoreSearch {

// The first hit that begins at from or later (TextSearch::findForward): a from past the end
// finds nothing, a negative from starts at 0.
std::optional<StoreOffset> findForward(const LogStore &store, QStringView word, StoreOffset from,
                                       Qt::CaseSensitivity sensitivity);

// The last hit that ends at or before end, so that it never overlaps a selection that begins
// there: QStringView::lastIndexOf(word, end - word.size()). An end past the text means the end
// of the text; one shorter than the word finds nothing.
std::optional<StoreOffset> findBackward(const LogStore &store, QStringView word, StoreOffset end,
                                        Qt::CaseSensitivity sensitivity);

// The blocks a scan for the matcher's word may pass by.
LogStore::Passing passingFor(const ByteMatcher &matcher);

} // namespace StoreSearch
