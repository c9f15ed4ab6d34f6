#include "view/OriginPalette.h"

#include <QPainter>

#include <array>

namespace {

// After Paul Tol's colour-blind safe schemes ("bright" and "vibrant"), with the dark and
// earthy tones that are left to make eleven.
constexpr std::array<QRgb, OriginPalette::kColours> kRgb {
    0x4477AA, // blue
    0xEE6677, // red
    0x228833, // green
    0xCCBB44, // yellow
    0x66CCEE, // cyan
    0xAA3377, // purple
    0xEE7733, // orange
    0x009988, // teal
    0x332288, // indigo
    0xBBBBBB, // grey
    0x885522, // brown
};

} // namespace

QColor OriginPalette::colour(int number)
{
    if (number < 1 || number > kColours)
        return {};
    return QColor::fromRgb(kRgb[size_t(number - 1)]);
}

QColor OriginPalette::textOn(const QColor &colour)
{
    // Relative luminance by the usual weights; the threshold keeps black on the light half.
    const double luminance
        = 0.2126 * colour.redF() + 0.7152 * colour.greenF() + 0.0722 * colour.blueF();
    return luminance > 0.45 ? QColor(Qt::black) : QColor(Qt::white);
}

void OriginPalette::paintBadge(QPainter &painter, const QRect &rect, int number, bool showNumber)
{
    const QColor fill = colour(number);
    if (!fill.isValid())
        return;
    painter.fillRect(rect, fill);
    if (!showNumber)
        return;
    painter.setPen(textOn(fill));
    painter.drawText(rect, Qt::AlignCenter, QString::number(number));
}

QPixmap OriginPalette::badge(int number, int size, qreal devicePixelRatio)
{
    QPixmap pixmap(QSize(size, size) * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    QFont font = painter.font();
    font.setPixelSize(std::max(6, size * 3 / 4));
    painter.setFont(font);
    paintBadge(painter, QRect(0, 0, size, size), number, true);
    return pixmap;
}
