#include "highlight/ReadableColours.h"

#include <algorithm>
#include <cmath>

namespace ReadableColours {

namespace {

double channel(double value)
{
    return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
}

double luminance(const QColor &colour)
{
    return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF())
        + 0.0722 * channel(colour.blueF());
}

QColor withLightness(const QColor &colour, double lightness)
{
    return QColor::fromHslF(colour.hslHueF(), colour.hslSaturationF(), float(lightness)).toRgb();
}

} // namespace

double contrast(const QColor &a, const QColor &b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor textOn(const QColor &text, const QColor &ground)
{
    if (contrast(text, ground) >= kMinContrast)
        return text;
    // Towards black on a light ground, towards white on a dark one.
    const bool darken = luminance(ground) > 0.18;
    const double end = darken ? 0.0 : 1.0;
    if (contrast(withLightness(text, end), ground) < kMinContrast)
        return contrast(Qt::black, ground) > contrast(Qt::white, ground) ? QColor(Qt::black)
                                                                         : QColor(Qt::white);
    // The lightness nearest the text's own that is readable.
    double good = end;
    double bad = text.toHsl().lightnessF();
    for (int k = 0; k < 12; ++k) {
        const double middle = (good + bad) / 2;
        if (contrast(withLightness(text, middle), ground) >= kMinContrast)
            good = middle;
        else
            bad = middle;
    }
    return withLightness(text, good);
}

} // namespace ReadableColours
