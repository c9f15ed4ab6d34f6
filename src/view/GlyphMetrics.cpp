#include "view/GlyphMetrics.h"

#include <QTextLayout>

#include <cmath>

GlyphMetrics::GlyphMetrics(const QFont &font)
    : m_font(font)
    , m_metrics(font)
    , m_advances(0x10000, kUnmeasured)
{
    // Units whose width depends on their neighbours or position never enter the table.
    m_advances[u'\t'] = kSpecial;
    for (char32_t unit = 0xD800; unit <= 0xDFFF; ++unit)
        m_advances[unit] = kSpecial;
    // Qt picks a fallback face per script; laying out a mixed sample shows how tall a line
    // gets when both are on it.
    QTextLayout sample(QStringLiteral("Ag|あ漢ｱ"), font);
    sample.beginLayout();
    QTextLine line = sample.createLine();
    sample.endLayout();
    m_ascent = int(std::ceil(std::max(line.ascent(), m_metrics.ascent())));
    const int descent = int(std::ceil(std::max(line.descent(), m_metrics.descent())));
    m_lineHeight = std::max(1, m_ascent + descent);
    m_tabWidth = std::max<qreal>(1, 8 * unitAdvance(u' '));
}

char16_t GlyphMetrics::shown(char16_t unit)
{
    if (unit < 0x20 && unit != u'\t')
        return char16_t(0x2400 + unit);
    if (unit == 0x7F)
        return 0x2421;
    return unit;
}

qreal GlyphMetrics::unitAdvance(char16_t unit) const
{
    float &cached = m_advances[unit];
    if (cached == kUnmeasured)
        cached = float(m_metrics.horizontalAdvance(QChar(shown(unit))));
    return cached;
}

qreal GlyphMetrics::advance(QStringView text, qsizetype at, qreal x) const
{
    const char16_t unit = text[at].unicode();
    if (unit == u'\t')
        return (std::floor(x / m_tabWidth) + 1) * m_tabWidth - x;
    if (QChar::isHighSurrogate(unit) && at + 1 < text.size() && text[at + 1].isLowSurrogate())
        return m_metrics.horizontalAdvance(text.sliced(at, 2).toString());
    if (QChar::isLowSurrogate(unit) && at > 0 && text[at - 1].isHighSurrogate())
        return 0;
    if (QChar::isSurrogate(unit)) // a lone one: drawn as the replacement glyph
        return m_metrics.horizontalAdvance(QChar(0xFFFD));
    return unitAdvance(unit);
}

qreal GlyphMetrics::advanceOver(QStringView text, qreal x) const
{
    // Measured units straight from the table; tabs, surrogates and units not measured yet
    // (all negative there) the long way.
    const char16_t *units = text.utf16();
    const float *table = m_advances.data();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const float width = table[units[i]];
        x += width >= 0 ? qreal(width) : advance(text, i, x);
    }
    return x;
}
