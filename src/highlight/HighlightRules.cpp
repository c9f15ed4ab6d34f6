#include "highlight/HighlightRules.h"

#include <algorithm>

HighlightRules::HighlightRules(std::vector<HighlightRule> rules)
    : m_rules(std::move(rules))
    , m_matcher(m_rules)
{
}

std::vector<HighlightRule> HighlightRules::withReadySet(std::vector<HighlightRule> rules)
{
    // Dark text on a light ground: readable on every colour scheme, the dark one included,
    // since the rule brings both colours.
    const QColor redText(0x9c, 0x00, 0x06);
    const QColor redGround(0xff, 0xc7, 0xce);
    const QColor amberText(0x7a, 0x4a, 0x00);
    const QColor amberGround(0xff, 0xe5, 0x99);
    // Log levels are written in capitals; "error" in a message is not one.
    const HighlightRule ready[] = {
        {QStringLiteral("ERROR"), true, true, redText, redGround},
        {QStringLiteral("FATAL"), true, true, redText, redGround},
        {QStringLiteral("エラー"), false, true, redText, redGround},
        {QStringLiteral("例外"), false, true, redText, redGround},
        {QStringLiteral("WARN"), true, true, amberText, amberGround},
        {QStringLiteral("警告"), false, true, amberText, amberGround},
    };
    for (const HighlightRule &rule : ready) {
        const bool present = std::any_of(rules.begin(), rules.end(), [&](const HighlightRule &r) {
            return r.word == rule.word && r.matchCase == rule.matchCase;
        });
        if (!present)
            rules.push_back(rule);
    }
    return rules;
}
