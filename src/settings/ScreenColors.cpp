#include "settings/ScreenColors.h"

#include "platform/LogView.h"

#include <QGuiApplication>
#include <QPalette>

ScreenColors::ScreenColors(LogView &view)
    : m_view(view)
{
}

void ScreenColors::SetScreenColor(const qint32 &lngScreenColor, qint32 &ScreenColor) const
{
    ScreenColor = lngScreenColor;
    m_view.setBackgroundColor(backgroundColor(lngScreenColor));
    m_view.setSelectionTextColor(textColor(lngScreenColor));
}

QColor ScreenColors::backgroundColor(qint32 scheme)
{
    if (scheme == kDos)
        return QColor(0, 0, 0);
    // Base, not Window: the view is a text area, and Base is what the desktop paints those with.
    return QGuiApplication::palette().color(QPalette::Active, QPalette::Base);
}

QColor ScreenColors::textColor(qint32 scheme)
{
    if (scheme == kDos)
        return QColor(128, 128, 128);
    return QGuiApplication::palette().color(QPalette::Active, QPalette::Text);
}
