#pragma once

#include "highlight/HighlightRules.h"

#include <QStringList>

#include <optional>

class SettingsStore;

// Keeps the highlight rules in the settings store (application "PIVEX"), in a section of their
// own, one key a rule, in the list's order:
//
//   [Highlight]
//   Count=2
//   Rule1=line,case,#9c0006,#ffc7ce,ERROR
//   Rule2=word,nocase,,#ffe599,タイムアウト
//
// A rule's value is: "line" or "word" (what it colours), "case" or "nocase", the text colour
// and the background colour ("#rrggbb", or empty for none), then the word, which runs to the
// end of the value and may hold commas. No section means no rules.
//
// Edge cases: a rule that does not read back (an unknown field, a bad colour, no colour at
// all, an empty word) is left out and its key reported, and the others load; a Count that is
// not a whole number from 0 to kMaxRules loads no rule and reports Count. Saving writes the
// rules, empties the keys of rules the list no longer has, then Count, and stops at the first
// key the store refuses.
class HighlightSettings
{
public:
    static constexpr int kMaxRules = 500;

    struct Loaded
    {
        HighlightRules rules;
        QStringList brokenKeys; // in the order met
    };

    explicit HighlightSettings(SettingsStore &store);

    Loaded load() const;
    bool save(const HighlightRules &rules);

    static QString format(const HighlightRule &rule);
    static std::optional<HighlightRule> parse(const QString &value);

    // What the user is told about rules that were left out, as for a broken stored option:
    // the file, the keys, and that the program starts without them.
    static QString brokenRulesMessage(const QStringList &keys, const QString &location);

private:
    int storedCount() const;

    SettingsStore &m_store;
};
