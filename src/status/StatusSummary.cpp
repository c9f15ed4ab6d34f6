#include "status/StatusSummary.h"

#include <QLocale>

#include <algorithm>

QString StatusSummary::count(qint64 n)
{
    return QLocale(QLocale::Japanese, QLocale::Japan).toString(n);
}

QString StatusSummary::monitoringText(const StatusFacts &facts)
{
    return facts.monitoring ? QStringLiteral("監視中") : QStringLiteral("一時停止");
}

QString StatusSummary::grepText(const StatusFacts &facts)
{
    if (!facts.grepMode)
        return {};
    if (facts.keyword.isEmpty())
        return QStringLiteral("grep: 文字列なし（何も表示されません）");
    return QString(QStringLiteral("grep: 「") % facts.keyword % QStringLiteral("」"));
}

QString StatusSummary::linesText(const StatusFacts &facts)
{
    return count(facts.lines) % QStringLiteral(" 行");
}

QString StatusSummary::newLinesText(const StatusFacts &facts)
{
    if (facts.following)
        return {};
    return QStringLiteral("新着 ") % count(facts.newLines) % QStringLiteral(" 行");
}

qint64 StatusSummary::newLinesBelow(qint64 lastLine, qint64 lastLineInSight, qint64 markLine)
{
    return std::max<qint64>(0, lastLine - std::max(lastLineInSight, markLine));
}
