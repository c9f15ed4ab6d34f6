#pragma once

#include <QColor>
#include <QPixmap>

class QPainter;
class QRect;

// The colours that tell the watched files apart, one per slot (eleven), and the badge that
// pairs each with its number (1 to 11). The colours are drawn on a ground of their own, not on
// the colour scheme's, so they read the same on every scheme; they are chosen to stay apart for
// the common kinds of colour blindness as far as eleven colours can, and the number says the
// rest. The number is drawn in black or white, whichever stands out more from its colour.
namespace OriginPalette {

constexpr int kColours = 11;

// The colour of a file's number (1..kColours); an invalid colour for any other number.
QColor colour(int number);
// Black or white, for text on that colour.
QColor textOn(const QColor &colour);
// Fills rect with the number's colour; with showNumber the number is drawn in it too.
void paintBadge(QPainter &painter, const QRect &rect, int number, bool showNumber);
// A badge of the given size in device-independent pixels, for lists and menus.
QPixmap badge(int number, int size, qreal devicePixelRatio);

} // namespace OriginPalette
