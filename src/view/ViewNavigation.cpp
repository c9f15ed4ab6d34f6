#include "view/ViewNavigation.h"

#include <QTextBoundaryFinder>

#include <algorithm>

namespace ViewNavigation {

namespace {

constexpr qint64 kWordReach = 1000;

// The part of offset's line that a word search looks at, and where it begins.
std::pair<QString, qint64> around(const TextSource &source, StoreOffset offset)
{
    const LineNo line = source.lineOf(offset);
    const qint64 start = std::max(source.lineStart(line).value, offset.value - kWordReach);
    const qint64 end = std::min(source.lineEnd(line).value, offset.value + kWordReach);
    return {source.read(StoreOffset(start), end - start).text, start};
}

} // namespace

StoreOffset nextPosition(const TextSource &source, StoreOffset offset)
{
    if (offset.value >= source.size())
        return StoreOffset(source.size());
    const QString two = source.read(offset, 2).text;
    const bool pair = two.size() == 2
        && ((two[0] == u'\r' && two[1] == u'\n')
            || (two[0].isHighSurrogate() && two[1].isLowSurrogate()));
    return offset + (pair ? 2 : 1);
}

StoreOffset previousPosition(const TextSource &source, StoreOffset offset)
{
    if (offset.value <= 0)
        return StoreOffset(0);
    if (offset.value == 1)
        return StoreOffset(0);
    const QString two = source.read(offset - 2, 2).text;
    const bool pair = (two[0] == u'\r' && two[1] == u'\n')
        || (two[0].isHighSurrogate() && two[1].isLowSurrogate());
    return offset - (pair ? 2 : 1);
}

StoreOffset snapped(const TextSource &source, StoreOffset offset)
{
    const StoreOffset at = std::clamp(offset, StoreOffset(0), StoreOffset(source.size()));
    if (at.value > 0 && at.value < source.size()) {
        const QString two = source.read(at - 1, 2).text;
        if ((two[0] == u'\r' && two[1] == u'\n')
            || (two[0].isHighSurrogate() && two[1].isLowSurrogate()))
            return at - 1;
    }
    return at;
}

std::pair<StoreOffset, StoreOffset> wordAt(const TextSource &source, StoreOffset offset)
{
    const auto [text, start] = around(source, offset);
    QTextBoundaryFinder finder(QTextBoundaryFinder::Word, text);
    const qsizetype local = std::clamp<qsizetype>(offset.value - start, 0, text.size());
    finder.setPosition(local);
    qsizetype from = finder.isAtBoundary() ? local : finder.toPreviousBoundary();
    finder.setPosition(local);
    qsizetype to = finder.toNextBoundary();
    if (to < 0)
        to = text.size();
    if (from < 0)
        from = 0;
    if (from == to && from > 0) { // at the end of the line: the word before
        finder.setPosition(local);
        from = std::max<qsizetype>(0, finder.toPreviousBoundary());
    }
    return {StoreOffset(start + from), StoreOffset(start + to)};
}

StoreOffset nextWord(const TextSource &source, StoreOffset offset)
{
    const LineNo line = source.lineOf(offset);
    if (offset >= source.lineEnd(line))
        return nextPosition(source, offset);
    const auto [text, start] = around(source, offset);
    QTextBoundaryFinder finder(QTextBoundaryFinder::Word, text);
    finder.setPosition(offset.value - start);
    // Skip to the next boundary that starts a word.
    for (qsizetype at = finder.toNextBoundary(); at >= 0; at = finder.toNextBoundary()) {
        if (at == text.size() || (finder.boundaryReasons() & QTextBoundaryFinder::StartOfItem))
            return StoreOffset(start + at);
    }
    return StoreOffset(start + text.size());
}

StoreOffset previousWord(const TextSource &source, StoreOffset offset)
{
    const LineNo line = source.lineOf(offset);
    if (offset <= source.lineStart(line))
        return previousPosition(source, offset);
    const auto [text, start] = around(source, offset);
    QTextBoundaryFinder finder(QTextBoundaryFinder::Word, text);
    finder.setPosition(offset.value - start);
    for (qsizetype at = finder.toPreviousBoundary(); at >= 0; at = finder.toPreviousBoundary()) {
        if (at == 0 || (finder.boundaryReasons() & QTextBoundaryFinder::StartOfItem))
            return StoreOffset(start + at);
    }
    return StoreOffset(start);
}

} // namespace ViewNavigation
