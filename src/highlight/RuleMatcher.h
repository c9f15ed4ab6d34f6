#pragma once

#include "highlight/HighlightRule.h"

#include <QStringView>

#include <array>
#include <vector>

// Finds the words of a list of rules in text, all of them in one pass: each position is looked
// up by its unit's low byte in a table of the rules whose word can begin with that unit, and
// only those are compared. Twenty rules cost about what one does.
//
// The matching rule is find's (TextSearch.h): exact, or with case folded one UTF-16 unit at a
// time, so a match always has the word's length. Rules are numbered in the order given; a
// lower number comes first. Unusable rules (no word) never match.
class RuleMatcher
{
public:
    RuleMatcher() = default;
    explicit RuleMatcher(const std::vector<HighlightRule> &rules);

    bool isEmpty() const { return m_words.empty(); }
    // The longest word: a hit that crosses a seam between two pieces of text lies within this
    // many units less one on either side.
    qsizetype longestWord() const { return m_longest; }

    // The lowest-numbered rule with a hit in text, or -1. With wholeLineOnly, only rules that
    // colour the whole line count.
    int firstMatch(QStringView text, bool wholeLineOnly = false) const;

    // Every hit in text, by position and then by rule number: visit(rule, start, length).
    template<typename Visit>
    void forEachHit(QStringView text, Visit &&visit) const
    {
        const auto *p = reinterpret_cast<const char16_t *>(text.utf16());
        const qsizetype size = text.size();
        for (qsizetype i = 0; i < size; ++i) {
            const quint8 low = quint8(p[i]);
            for (quint16 k = m_bucketStart[low]; k < m_bucketStart[low + 1]; ++k) {
                const Word &word = m_words[m_candidates[k]];
                if (matchesAt(word, p + i, size - i))
                    visit(word.rule, i, word.key.size());
            }
        }
    }

private:
    struct Word
    {
        int rule = 0;
        bool exact = false;
        bool wholeLine = false;
        QString key; // folded when not exact
    };

    static bool matchesAt(const Word &word, const char16_t *p, qsizetype available);

    std::vector<Word> m_words; // usable rules, in rule order
    // The words that may begin at a unit with low byte b: m_candidates[m_bucketStart[b] ..
    // m_bucketStart[b + 1]), ascending.
    std::array<quint16, 257> m_bucketStart {};
    std::vector<quint16> m_candidates;
    qsizetype m_longest = 0;
};
