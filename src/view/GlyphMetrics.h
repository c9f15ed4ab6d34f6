#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QStringView>

#include <vector>

// How wide each character of the view's font is and how tall every line is.
//
// One line height for all lines, taken once from a sample that holds Latin and Japanese, so
// a line that Qt draws with the Japanese fallback face is no taller than an ASCII line. Widths
// are those Qt's text drawing gives a character in this font (its fallback included), cached
// per UTF-16 unit on first use. A tab reaches the next multiple of eight spaces from the line's
// start. Control characters have no glyph; the view draws their Unicode control pictures
// (U+2400 and on) in their place, and measures those.
class GlyphMetrics
{
public:
    explicit GlyphMetrics(const QFont &font = QFont());

    const QFont &font() const { return m_font; }
    int lineHeight() const { return m_lineHeight; }
    int ascent() const { return m_ascent; }
    qreal tabWidth() const { return m_tabWidth; }

    // The width of text[at], x being where it begins in its line (for tabs). A high
    // surrogate takes the width of its pair, the low one none.
    qreal advance(QStringView text, qsizetype at, qreal x) const;
    // x after text, started at x.
    qreal advanceOver(QStringView text, qreal x) const;

    // The character drawn for a unit: itself, or its control picture.
    static char16_t shown(char16_t unit);

private:
    qreal unitAdvance(char16_t unit) const;

    static constexpr float kUnmeasured = -1;
    static constexpr float kSpecial = -2;

    QFont m_font;
    QFontMetricsF m_metrics;
    int m_lineHeight = 1;
    int m_ascent = 1;
    qreal m_tabWidth = 8;
    mutable std::vector<float> m_advances; // per unit; kUnmeasured, or kSpecial for tab, surrogates
};
