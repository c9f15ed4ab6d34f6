#pragma once

#include <QString>

// What the status bar says, worked out from the program's state: whether files are watched or
// monitoring is paused, grep mode and its keyword, how many lines the view holds and, when the
// view is not following the end, how many lines arrived below what the user is reading.
//
// Edge cases: grep mode with an empty keyword says that nothing can match; a view that ends
// with a line break does not count the empty line after it; the new lines are those that
// arrived after following stopped and lie below the last line in sight, so scrolling down
// to them counts them as seen and scrolling back up to old lines does not count those.
struct StatusFacts
{
    bool monitoring = true;
    bool grepMode = false;
    QString keyword;
    qint64 lines = 0;
    bool following = true;
    qint64 newLines = 0;
};

namespace StatusSummary {

// A count with digit groups as Japanese text writes them (1,234,567), whatever the system's
// locale: the status bar and the find dialog show counts alike.
QString count(qint64 n);

QString monitoringText(const StatusFacts &facts);
// Empty while grep mode is off.
QString grepText(const StatusFacts &facts);
QString linesText(const StatusFacts &facts);
// Empty while the view follows the end.
QString newLinesText(const StatusFacts &facts);

// Lines after markLine (the last line when following stopped) that lie below the last line in
// sight.
qint64 newLinesBelow(qint64 lastLine, qint64 lastLineInSight, qint64 markLine);

} // namespace StatusSummary
