#pragma once

#include <QColor>

// Keeps coloured text readable: a rule's text colour meets backgrounds its author never saw
// (the dark DOS scheme, the desktop's own theme, the rule's own ground), so the painter moves
// it lighter or darker, only as far as needed, until it stands out from the ground by the
// contrast the web's accessibility guidelines ask of body text (4.5:1, by relative luminance).
namespace ReadableColours {

constexpr double kMinContrast = 4.5;

// From 1 (the same) to 21 (black on white).
double contrast(const QColor &a, const QColor &b);

// text itself when it is readable on ground; otherwise text with its lightness moved away from
// the ground's until it is, hue and saturation kept. On a mid-grey ground where no lightness is
// enough, black or white, whichever stands out more.
QColor textOn(const QColor &text, const QColor &ground);

} // namespace ReadableColours
