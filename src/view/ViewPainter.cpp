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

void paintLine(QPainter &painter, const ViewLayout &layout, const Look &look,
               const ViewLayout::Segment &segment, int y)
{
    const GlyphMetrics &metrics = layout.metrics();
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

const QImage *LineImages::find(const Key &key)
{
    for (Entry &entry : m_entries) {
        if (entry.key == key) {
            entry.lastUse = ++m_clock;
            return &entry.image;
        }
    }
    return nullptr;
}

void LineImages::put(const Key &key, QImage image, qint64 keep)
{
    if (qint64(m_entries.size()) >= keep) {
        m_entries.erase(
            std::min_element(m_entries.begin(), m_entries.end(),
                             [](const Entry &a, const Entry &b) { return a.lastUse < b.lastUse; }));
    }
    m_entries.push_back({key, std::move(image), ++m_clock});
}

void paint(QPainter &painter, const ViewLayout &layout, const TextSource &source, const Look &look,
           const QRect &area, LineImages &images)
{
    const int height = layout.metrics().lineHeight();
    const int width = layout.viewportSize().width();
    const int firstRow = std::max(0, area.top() / height);
    const int lastRow = std::max(firstRow, area.bottom() / height);
    const qint64 lines = source.lineCount();
    const qint64 selStart = look.selection.start().value;
    const qint64 selEnd = look.selection.end().value;
    int row = firstRow;
    for (; row <= lastRow; ++row) {
        const LineNo line = layout.topLine() + row;
        if (line.value >= lines)
            break;
        const ViewLayout::Segment segment = layout.visibleSegment(line);
        const qint64 from = std::max(selStart, segment.start.value);
        const qint64 to = std::min(selEnd, segment.lineEnd.value + 2);
        const LineImages::Key key {source.lineStart(line).value,
                                   segment.start.value,
                                   segment.text.size(),
                                   segment.lineEnd.value,
                                   from < to ? from : 0,
                                   from < to ? to : 0,
                                   layout.left(),
                                   width,
                                   look.styleVersion};
        const QImage *image = images.find(key);
        if (!image) {
            QImage drawn(QSize(width, height) * look.devicePixelRatio, QImage::Format_RGB32);
            drawn.setDevicePixelRatio(look.devicePixelRatio);
            QPainter linePainter(&drawn);
            linePainter.fillRect(QRect(0, 0, width, height), look.palette.color(QPalette::Base));
            linePainter.setFont(layout.metrics().font());
            paintLine(linePainter, layout, look, segment, 0);
            linePainter.end();
            images.put(key, std::move(drawn), 2 * layout.shownLines() + 2);
            image = images.find(key);
        }
        painter.drawImage(QPoint(0, row * height), *image);
    }
    const int textBottom = row * height;
    if (textBottom <= area.bottom()) {
        painter.fillRect(
            QRect(area.left(), textBottom, area.width(), area.bottom() - textBottom + 1),
            look.palette.color(QPalette::Base));
    }
    if (look.caretShown) {
        const QRect caret = layout.caretRect(look.selection.caret);
        if (caret.intersects(area))
            painter.fillRect(caret, textColour(look, look.selection.caret.value));
    }
}

} // namespace ViewPainter
