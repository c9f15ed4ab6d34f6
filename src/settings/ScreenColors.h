#pragma once

#include <QColor>
#include <QtGlobal>

class LogView;

// The colour schemes of the log view. Scheme 1 ("DOS") is grey text on black; every other
// number, 0, 2 and 3 included, gives the desktop's own colours for a text area: the
// application palette's Base (background) and Text roles, read at the moment the scheme is
// applied. A later change of the desktop theme is not followed.
//
// The background covers the whole view at once. The text colour goes to the selection, or,
// when nothing is selected, to the text inserted from then on (new log lines); text already
// shown outside the selection keeps its colour.
//
// Edge cases: unknown numbers (7, -1) are not refused, they show the standard colours and are
// still remembered as the scheme applied last.
class ScreenColors
{
public:
    static constexpr qint32 kDos = 1;

    // The view must outlive this object.
    explicit ScreenColors(LogView &view);

    // Records lngScreenColor in ScreenColor first, then colours the view.
    void SetScreenColor(const qint32 &lngScreenColor, qint32 &ScreenColor) const;

    static QColor backgroundColor(qint32 scheme);
    static QColor textColor(qint32 scheme);

private:
    LogView &m_view;
};
