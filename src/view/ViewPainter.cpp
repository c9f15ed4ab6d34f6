#include "view/ViewPainter.h"

#include <QPainter>

#include <algorithm>

namespace ViewPainter {

namespace {

QColor textColour(const Look &look, qint64 offset)
{
    const QColor colour = look.colours.colourAt(offset);
    return colour.isValid() ? colour : look.palette.color(QPalette::Text);
}

void paintLine(QPainter &painter, const ViewLayout &layout, const Look &look, LineNo line, int y)
{
    const GlyphMetrics &metrics = layout.metrics();
    const ViewLayout::Segment segment = layout.visibleSegment(line);
    const qint64 selStart = look.selection.start().value;
    const qint64 selEnd = look.selection.end().value;
    const qreal left = layout.left();
    const int height = metrics.lineHeight();
    const qreal baseline = y + metrics.ascent();
    const QStringView text(segment.text);
    const qint64 first = segment.start.value;

    // Runs end where the colour or the selection changes and at tabs.
    qsizetype runStart = 0;
    qreal runX = segment.x;
    qreal x = segment.x;
    qint64 nextColour = first;
    QString shown;
    auto flush = [&](qsizetype end) {
        if (end <= runStart)
            return;
        const qint64 at = first + runStart;
        const bool selected = at >= selStart && at < selEnd;
        if (selected)
            painter.fillRect(QRectF(runX - left, y, x - runX, height),
                             look.palette.color(QPalette::Highlight));
        shown.resize(0);
        for (qsizetype i = runStart; i < end; ++i) {
            if (text[i] != u'\t')
                shown += QChar(GlyphMetrics::shown(text[i].unicode()));
        }
        if (!shown.isEmpty()) {
            painter.setPen(selected ? look.palette.color(QPalette::HighlightedText)
                                    : textColour(look, at));
            painter.drawText(QPointF(runX - left, baseline), shown);
        }
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qint64 at = first + i;
        if (at == nextColour || at == selStart || at == selEnd || text[i] == u'\t'
            || (i > 0 && text[i - 1] == u'\t')) {
            flush(i);
            runStart = i;
            runX = x;
            if (at == nextColour)
                nextColour = look.colours.nextChange(at);
        }
        x += metrics.advance(text, i, x);
    }
    flush(text.size());
    // A selected line break shows as a space's width of highlight after the text.
    const qint64 end = segment.lineEnd.value;
    if (selStart <= end && selEnd > end && first + text.size() == end) {
        painter.fillRect(QRectF(x - left, y, metrics.advance(u" ", 0, x), height),
                         look.palette.color(QPalette::Highlight));
    }
}

} // namespace

void paint(QPainter &painter, const ViewLayout &layout, const TextSource &source, const Look &look,
           const QRect &area)
{
    painter.fillRect(area, look.palette.color(QPalette::Base));
    painter.setFont(layout.metrics().font());
    const int height = layout.metrics().lineHeight();
    const int firstRow = std::max(0, area.top() / height);
    const int lastRow = std::max(firstRow, area.bottom() / height);
    const qint64 lines = source.lineCount();
    for (int row = firstRow; row <= lastRow; ++row) {
        const LineNo line = layout.topLine() + row;
        if (line.value >= lines)
            break;
        paintLine(painter, layout, look, line, row * height);
    }
    if (look.caretShown) {
        const QRect caret = layout.caretRect(look.selection.caret);
        if (caret.intersects(area))
            painter.fillRect(caret, textColour(look, look.selection.caret.value));
    }
}

} // namespace ViewPainter
