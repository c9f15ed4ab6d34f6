#pragma once

#include "view/store/StoreTypes.h"

#include <QStringView>

#include <optional>

class LogStore;

// Find in the store where the text is kept: block by block, on the encoded bytes, never
// copying the whole text out. The answers are exactly those of TextSearch::findForward over
// the store's whole text (same folding, same edge cases: the empty word finds nothing, a from
// past the end finds nothing, a negative from starts at 0), block edges included: a word that
// straddles two or more blocks is found once, where it begins.
//
// A damaged block (StoreTypes.h) holds no hit, and no hit runs across one.
namespace StoreSearch {

std::optional<StoreOffset> findForward(const LogStore &store, QStringView word, StoreOffset from,
                                       Qt::CaseSensitivity sensitivity);

} // namespace StoreSearch
