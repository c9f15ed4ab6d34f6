#pragma once

#include <QColor>
#include <QString>

#include <algorithm>

// One highlight rule, a plain value: a word, whether its case must match, whether a match
// colours the whole line or only the word, and the colours it gives (text, background, or
// both; an invalid colour leaves that one as the view has it).
//
// A rule is usable only with a word and at least one colour; the word never holds a line
// break, since a rule matches within one line.
struct HighlightRule
{
    QString word;
    bool matchCase = false;
    bool wholeLine = false;
    QColor foreground;
    QColor background;

    bool hasWord() const
    {
        return !word.isEmpty() && !word.contains(QLatin1Char('\r'))
            && !word.contains(QLatin1Char('\n'));
    }
    bool hasColour() const { return foreground.isValid() || background.isValid(); }
    bool isUsable() const { return hasWord() && hasColour(); }
    // The colour that stands for the rule where there is no room for text (the overview): its
    // ground, else its text colour, made vivid enough to be seen as a thin line.
    QColor markColour() const
    {
        const QColor base = (background.isValid() ? background : foreground).toHsl();
        return QColor::fromHslF(base.hslHueF(), std::max(base.hslSaturationF(), 0.75f),
                                std::clamp(base.lightnessF(), 0.35f, 0.55f))
            .toRgb();
    }

    bool operator==(const HighlightRule &) const = default;
};
