#pragma once

#include "highlight/HighlightRules.h"
#include "view/ViewLayout.h"

#include <QColor>
#include <QString>

#include <optional>
#include <utility>
#include <vector>

// The colours highlight rules and the find word give the part of a line in sight, worked out
// when the line is painted, never stored with the text: a new rule recolours what is shown.
//
// Each unit takes the colours of the first rule that covers it: a rule that colours whole lines
// covers every unit of a line it matches anywhere, one that colours the word covers its
// matches. Matches of the find word take the find colours over any rule. Colours a rule leaves
// out (no text colour, no ground) are the view's own.
//
// A line of up to kWholeLine units is read whole for this; for a longer one the whole-line
// rules are matched stride by stride and the answer kept for the last few such lines (a line
// that grows is matched on from where it was), while words are looked for only around the
// part in sight.
class LineStyler
{
public:
    static constexpr qint64 kWholeLine = 65536;
    // The find word's colours: dark text on yellow, like a marker pen, on every scheme.
    static QColor findForeground() { return QColor(0x20, 0x20, 0x00); }
    static QColor findBackground() { return QColor(0xff, 0xd8, 0x00); }

    struct Run
    {
        qint64 start;
        qint64 end;
        QColor foreground; // invalid: the view's text colour
        QColor background; // invalid: the view's ground
    };
    struct LineLook
    {
        std::vector<Run> runs; // ascending, apart, only the coloured parts of the segment
        QColor lineBackground; // the ground of a whole-line rule, for the row beyond the text
    };

    void setRules(HighlightRules rules);
    const HighlightRules &rules() const { return m_rules; }
    void setFindWord(const QString &word, Qt::CaseSensitivity sensitivity);
    // The text was cleared or replaced: what is kept of long lines, by their offsets, is stale.
    void textReplaced() { m_longLines.clear(); }
    // Nothing to colour: painting goes as without rules.
    bool isIdle() const { return m_rules.isEmpty() && m_findWord.isEmpty(); }

    LineLook look(const TextSource &source, LineNo line, const ViewLayout::Segment &segment) const;
    // The find word's first match in a line (in its first kWholeLine units), start and end.
    std::optional<std::pair<StoreOffset, StoreOffset>> findMatch(const TextSource &source,
                                                                 LineNo line) const;

private:
    struct LongLine
    {
        qint64 start = -1;
        qint64 matchedTo = 0; // whole-line rules have been matched over [start, matchedTo)
        int rule = -1;
        quint64 lastUse = 0;
    };
    int longLineRule(const TextSource &source, qint64 start, qint64 end) const;

    HighlightRules m_rules;
    bool m_hasLineRules = false;
    QString m_findWord;
    Qt::CaseSensitivity m_findSensitivity = Qt::CaseInsensitive;
    mutable std::vector<LongLine> m_longLines;
    mutable quint64 m_clock = 0;
};
