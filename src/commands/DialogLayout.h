#pragma once

#include <QRect>
#include <QSize>
#include <QWidget>

#include <algorithm>

// The dialogs are drawn in twips (1/1440 inch). At 96 dpi fifteen twips make one pixel, and
// Qt's device-independent pixels are 96-dpi pixels, so converting once here and letting Qt
// scale for high-density screens gives the intended size everywhere.
//
// Edge cases: measures round to the nearest pixel; a negative width or height becomes 0, so no
// computed size is ever negative; positions may be negative (off the client area) and keep
// their sign.
namespace DialogLayout {

constexpr int kTwipsPerPixel = 15;

constexpr int toPixels(int twips)
{
    const int half = kTwipsPerPixel / 2;
    return twips >= 0 ? (twips + half) / kTwipsPerPixel : -((-twips + half) / kTwipsPerPixel);
}

constexpr int toExtent(int twips)
{
    return std::max(0, toPixels(twips));
}

inline QSize size(int widthTwips, int heightTwips)
{
    return {toExtent(widthTwips), toExtent(heightTwips)};
}

inline QRect rect(int leftTwips, int topTwips, int widthTwips, int heightTwips)
{
    return {QPoint(toPixels(leftTwips), toPixels(topTwips)), size(widthTwips, heightTwips)};
}

inline void place(QWidget *widget, int leftTwips, int topTwips, int widthTwips, int heightTwips)
{
    widget->setGeometry(rect(leftTwips, topTwips, widthTwips, heightTwips));
}

// Labels and check boxes were drawn for a 9-point face with a short line; the Japanese faces
// found on Linux have taller lines, so such a control grows downwards just enough not to cut
// its text in half. Buttons and text boxes keep their drawn height.
inline void placeText(QWidget *widget, int leftTwips, int topTwips, int widthTwips, int heightTwips)
{
    QRect area = rect(leftTwips, topTwips, widthTwips, heightTwips);
    area.setHeight(std::max(area.height(), widget->sizeHint().height()));
    widget->setGeometry(area);
}

// The client area is fixed, as drawn: the controls are placed absolutely and would not
// follow a resize.
inline void setClientSize(QWidget *window, int widthTwips, int heightTwips)
{
    window->setFixedSize(size(widthTwips, heightTwips));
}

} // namespace DialogLayout
