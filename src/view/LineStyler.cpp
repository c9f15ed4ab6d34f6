#include "view/LineStyler.h"

#include "view/store/TextSearch.h"

#include <algorithm>
#include <climits>

namespace {
constexpr size_t kLongLinesKept = 8;
constexpr int kNone = INT_MAX;
constexpr int kFind = -1; // sorts before every rule
} // namespace

void LineStyler::setRules(HighlightRules rules)
{
    m_rules = std::move(rules);
    m_hasLineRules
        = std::any_of(m_rules.rules().begin(), m_rules.rules().end(),
                      [](const HighlightRule &r) { return r.wholeLine && r.isUsable(); });
    m_longLines.clear();
}

void LineStyler::setFindWord(const QString &word, Qt::CaseSensitivity sensitivity)
{
    m_findWord = word;
    m_findSensitivity = sensitivity;
}

std::optional<std::pair<StoreOffset, StoreOffset>> LineStyler::findMatch(const TextSource &source,
                                                                         LineNo line) const
{
    if (m_findWord.isEmpty())
        return std::nullopt;
    const StoreOffset start = source.lineStart(line);
    const qint64 length = std::min<qint64>(source.lineEnd(line) - start, kWholeLine);
    const auto hit = TextSearch::findForward(source.read(start, length).text, m_findWord, 0,
                                             m_findSensitivity);
    if (!hit)
        return std::nullopt;
    return std::make_pair(start + *hit, start + *hit + m_findWord.size());
}

int LineStyler::longLineRule(const TextSource &source, qint64 start, qint64 end) const
{
    auto it = std::find_if(m_longLines.begin(), m_longLines.end(),
                           [start](const LongLine &l) { return l.start == start; });
    if (it == m_longLines.end()) {
        if (m_longLines.size() == kLongLinesKept)
            m_longLines.erase(std::min_element(
                m_longLines.begin(), m_longLines.end(),
                [](const LongLine &a, const LongLine &b) { return a.lastUse < b.lastUse; }));
        m_longLines.push_back({start, start, -1, 0});
        it = m_longLines.end() - 1;
    }
    it->lastUse = ++m_clock;
    const RuleMatcher &matcher = m_rules.matcher();
    // Each stride starts early enough to take a word across the edge with the one before.
    while (it->matchedTo < end && it->rule != 0) {
        const qint64 from = std::max(start, it->matchedTo - (matcher.longestWord() - 1));
        const qint64 to = std::min(end, it->matchedTo + kWholeLine);
        const int rule = matcher.firstMatch(source.read(StoreOffset(from), to - from).text, true);
        if (rule >= 0 && (it->rule < 0 || rule < it->rule))
            it->rule = rule;
        it->matchedTo = to;
    }
    return it->rule;
}

LineStyler::LineLook LineStyler::look(const TextSource &source, LineNo line,
                                      const ViewLayout::Segment &segment) const
{
    LineLook look;
    if (isIdle())
        return look;
    const qint64 lineStart = source.lineStart(line).value;
    const qint64 lineEnd = segment.lineEnd.value;
    const qint64 segStart = segment.start.value;
    const qint64 segEnd = segStart + segment.text.size();
    const qint64 reach
        = std::max<qint64>({m_rules.matcher().longestWord() - 1, m_findWord.size() - 1, 0});

    // The text to look for words in: the whole line if short, else the segment and a word's
    // reach either side.
    const bool whole = lineEnd - lineStart <= kWholeLine;
    const qint64 from = whole ? lineStart : std::max(lineStart, segStart - reach);
    const qint64 to = whole ? lineEnd : std::min(lineEnd, segEnd + reach);
    const QString text = source.read(StoreOffset(from), to - from).text;

    // A short line's whole-line rule comes from the same pass as the words' hits.
    int lineRule = m_hasLineRules && !whole ? longLineRule(source, lineStart, lineEnd) : -1;
    std::vector<int> best(size_t(segEnd - segStart), kNone);
    const auto cover = [&](qint64 start, qint64 length, int value) {
        const qint64 a = std::max(start, segStart);
        const qint64 b = std::min(start + length, segEnd);
        for (qint64 k = a; k < b; ++k)
            best[size_t(k - segStart)] = std::min(best[size_t(k - segStart)], value);
    };
    m_rules.matcher().forEachHit(text, [&](int rule, qsizetype at, qsizetype length) {
        if (!m_rules.at(rule).wholeLine)
            cover(from + at, length, rule);
        else if (whole && (lineRule < 0 || rule < lineRule))
            lineRule = rule;
    });
    if (lineRule >= 0)
        cover(segStart, segEnd - segStart, lineRule);
    for (auto hit = TextSearch::findForward(text, m_findWord, 0, m_findSensitivity); hit;
         hit = TextSearch::findForward(text, m_findWord, *hit + 1, m_findSensitivity))
        cover(from + *hit, m_findWord.size(), kFind);

    for (qint64 k = 0; k < qint64(best.size());) {
        const int value = best[size_t(k)];
        qint64 end = k + 1;
        while (end < qint64(best.size()) && best[size_t(end)] == value)
            ++end;
        if (value == kFind)
            look.runs.push_back({segStart + k, segStart + end, findForeground(), findBackground()});
        else if (value != kNone)
            look.runs.push_back({segStart + k, segStart + end, m_rules.at(value).foreground,
                                 m_rules.at(value).background});
        k = end;
    }
    if (lineRule >= 0)
        look.lineBackground = m_rules.at(lineRule).background;
    return look;
}
