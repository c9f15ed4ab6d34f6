#pragma once

#include "view/store/StoreTypes.h"

#include <algorithm>

// The selection as two positions: where it was started (anchor) and where the caret is.
// Equal positions mean nothing is selected and the caret stands there.
struct ViewSelection
{
    StoreOffset anchor;
    StoreOffset caret;

    StoreOffset start() const { return std::min(anchor, caret); }
    StoreOffset end() const { return std::max(anchor, caret); }
    qint64 length() const { return end() - start(); }
    bool isEmpty() const { return anchor == caret; }
};
