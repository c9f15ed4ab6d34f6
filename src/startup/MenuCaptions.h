#pragma once

class QMenuBar;

// Keeps every caption of the menu bar's menus whole. Qt 6.4's Fusion style elides the widest
// item of a menu ("ファイルを…る(M)") once the font grows past about 11 points, because it
// draws an item's text in less room than it measured the menu for; the shortfall grows with
// the font. Each menu is given one line height of extra width whenever it opens, which covers
// it at any size and costs nothing where there is no shortfall.
namespace MenuCaptions {
void keepWhole(QMenuBar *bar);
} // namespace MenuCaptions
