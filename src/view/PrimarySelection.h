#pragma once

#include "view/ViewSelection.h"

class LogScrollView;
class QObject;

// The X11 primary selection of a log view. The text of a selection can run to gigabytes, so
// it is not made when the user selects: the offer holds the range (SelectionCopy) and its
// text is made only when a program pastes it. The store only grows, so the range keeps
// meaning the same text until the view is cleared or goes, when the view withdraws the offer.
// Desktops without a primary selection are left alone.
namespace PrimarySelection {

// Puts the view's selected range on the primary selection; the clipboard owns the offer.
void offer(LogScrollView *view, ViewSelection range);
// Empties the primary selection if it still holds an offer of this view.
void withdraw(const QObject *view);

} // namespace PrimarySelection
