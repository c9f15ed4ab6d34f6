#pragma once

#include <QString>
#include <QStringView>

// Text as the desktop's clipboard wants it: CR LF, a lone CR and the paragraph and line
// separators of rich text (U+2029, U+2028) all become LF, which Qt turns into CR LF on
// Windows. Used by every copy: the edit menu's, the view's own Ctrl+C and the X11 primary
// selection.
QString toDesktopLineEnds(QStringView text);
