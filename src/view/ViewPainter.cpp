#include "view/ViewPainter.h"

#include "highlight/ReadableColours.h"

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
               const ViewLayout::Segment &segment, const LineStyler::LineLook &styled, int y)
{
    const GlyphMetrics &metrics = layout.metrics();
    const qint64 selStart = look.selection.start().value;
    const qint64 selEnd = look.selection.end().value;
    const qreal left = layout.left();
    const int height = metrics.lineHeight();
    const qreal baseline = y + metrics.ascent();
    const QStringView text(segment.text);
    const qint64 first = segment.start.value;

    // Runs end where the colour, the selection or a rule's colours change and at tabs.
    qsizetype runStart = 0;
    qreal runX = segment.x;
    qreal x = segment.x;
    qint64 nextColour = first;
    QString shown;
    const std::vector<LineStyler::Run> &styles = styled.runs;
    size_t style = 0; // the first style run that does not end before the run being drawn
    auto flush = [&](qsizetype end) {
        if (end <= runStart)
            return;
        const qint64 at = first + runStart;
        const bool selected = at >= selStart && at < selEnd;
        while (style < styles.size() && styles[style].end <= at)
            ++style;
        const LineStyler::Run *rule
            = style < styles.size() && styles[style].start <= at ? &styles[style] : nullptr;
        QColor pen = textColour(look, at);
        if (selected) {
            painter.fillRect(QRectF(runX - left, y, x - runX, height),
                             look.palette.color(QPalette::Highlight));
            pen = look.palette.color(QPalette::HighlightedText);
        } else if (rule) {
            const QColor ground = rule->background.isValid() ? rule->background
                                                             : look.palette.color(QPalette::Base);
            if (rule->background.isValid())
                painter.fillRect(QRectF(runX - left, y, x - runX, height), ground);
            pen = ReadableColours::textOn(rule->foreground.isValid() ? rule->foreground : pen,
                                          ground);
        }
        shown.resize(0);
        for (qsizetype i = runStart; i < end; ++i) {
            if (text[i] != u'\t')
                shown += QChar(GlyphMetrics::shown(text[i].unicode()));
        }
        if (!shown.isEmpty()) {
            painter.setPen(pen);
            painter.drawText(QPointF(runX - left, baseline), shown);
        }
    };
    size_t edge = 0; // the next start or end of a style run
    const auto styleEdge = [&](qint64 at) {
        bool found = false;
        while (edge < 2 * styles.size()) {
            const LineStyler::Run &run = styles[edge / 2];
            const qint64 offset = edge % 2 == 0 ? run.start : run.end;
            if (offset > at)
                break;
            found = found || offset == at;
            ++edge;
        }
        return found;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qint64 at = first + i;
        const bool styleChanges = styleEdge(at);
        if (at == nextColour || at == selStart || at == selEnd || styleChanges || text[i] == u'\t'
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
    const qint64 end = segment.lineEnd.value;
    // A whole-line rule's ground runs on to the edge, so the row reads as one band.
    if (styled.lineBackground.isValid() && first + text.size() == end)
        painter.fillRect(QRectF(x - left, y, layout.viewportSize().width() - (x - left), height),
                         styled.lineBackground);
    // A selected line break shows as a space's width of highlight after the text.
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
            const LineStyler::LineLook styled
                = look.styler ? look.styler->look(source, line, segment) : LineStyler::LineLook();
            paintLine(linePainter, layout, look, segment, styled, 0);
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
