#pragma once

#include "highlight/HighlightRule.h"
#include "highlight/RuleMatcher.h"

#include <vector>

// The highlight rules, in the order the user put them: the first rule that matches a piece
// of text decides its colours. A line matched by a rule that colours the whole line takes that
// rule's colours; a word matched by a rule that colours the word only takes its colours where
// no earlier rule already decides. A value: editing makes a new set.
//
// Unusable rules (no word, no colour) are kept, so that numbers stay those of the list, but
// never match.
class HighlightRules
{
public:
    HighlightRules() = default;
    explicit HighlightRules(std::vector<HighlightRule> rules);

    const std::vector<HighlightRule> &rules() const { return m_rules; }
    bool isEmpty() const { return m_matcher.isEmpty(); }
    const HighlightRule &at(int index) const { return m_rules[size_t(index)]; }
    const RuleMatcher &matcher() const { return m_matcher; }

    // The first rule that matches anywhere in the line, whole line or word; -1 for none.
    int match(QStringView line) const { return m_matcher.firstMatch(line); }

    // What a user starts from: ERROR, FATAL, エラー and 例外 in red, WARN and 警告 in amber,
    // each line in its colours; those of its rules that the list lacks follow it.
    static std::vector<HighlightRule> withReadySet(std::vector<HighlightRule> rules);

    bool operator==(const HighlightRules &other) const { return m_rules == other.m_rules; }

private:
    std::vector<HighlightRule> m_rules;
    RuleMatcher m_matcher;
};
