#include "settings/WholeNumber.h"

#include <cmath>

double roundHalfToEven(double value)
{
    const double below = std::floor(value);
    const double fraction = value - below;
    if (fraction < 0.5)
        return below;
    if (fraction > 0.5)
        return below + 1;
    return std::fmod(below, 2.0) == 0 ? below : below + 1;
}

std::optional<qint32> toWholeNumber(const QString &text, qint32 minimum, qint32 maximum)
{
    // QString::toDouble always reads the C locale and ignores surrounding white space, so the
    // result does not depend on the user's language settings.
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    const double rounded = roundHalfToEven(value);
    if (rounded < double(minimum) || rounded > double(maximum))
        return std::nullopt;
    return qint32(rounded);
}

std::optional<qint32> toClampedWholeNumber(const QString &text, qint32 minimum, qint32 maximum)
{
    bool ok = false;
    const double value = text.toDouble(&ok);
    // A well-formed number too large for a double reads as an infinity with ok false, while a
    // written "inf" reads with ok true: only the first is a number someone meant.
    const bool overflow = !ok && std::isinf(value);
    if (!overflow && !(ok && std::isfinite(value)))
        return std::nullopt;
    const double rounded = overflow ? value : roundHalfToEven(value);
    if (rounded < double(minimum))
        return minimum;
    if (rounded > double(maximum))
        return maximum;
    return qint32(rounded);
}
