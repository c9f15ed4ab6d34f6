#pragma once

#include <QString>
#include <QtGlobal>

#include <limits>
#include <optional>

// Converts text to a whole number the way both the command line and the stored settings need:
// the text is read as a decimal number (optional sign, digits, optional fraction, an optional
// exponent, blanks around it allowed), a fraction is rounded to the nearest whole number with a
// half going to the even neighbour (2.5 -> 2, 3.5 -> 4, -2.5 -> -2), and the result must lie
// within [minimum, maximum].
//
// Edge cases: empty or blank text, "nan", "inf", digit group separators ("1,000"), hexadecimal
// and numbers too large for a double give nullopt; a value that only rounds out of range fails
// too (32767.5 -> 32768 is outside 16 bits).
std::optional<qint32> toWholeNumber(const QString &text,
                                    qint32 minimum = std::numeric_limits<qint32>::min(),
                                    qint32 maximum = std::numeric_limits<qint32>::max());

// The same reading, but a number beyond [minimum, maximum] gives the nearer bound, however
// large it is (also beyond what a double holds: "1e400", a hundred nines).
//
// Edge cases: what is no number ("abc", empty, "inf", "nan") still gives nullopt.
std::optional<qint32> toClampedWholeNumber(const QString &text, qint32 minimum, qint32 maximum);

// Rounds to the nearest whole number, a half going to the even neighbour.
double roundHalfToEven(double value);
