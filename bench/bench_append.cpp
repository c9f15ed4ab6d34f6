// Appending to the log view under a flood, and painting it: bursts of 1,000 lines of the
// generated Japanese log (about 80 characters each), inserted as the appender does (caret
// check, one insertion with CR LF line ends) into the real view, shown offscreen, with events
// processed after every burst. One view is filled to 10,000,000 lines; the memory it took per
// line is measured from the process's resident set, and the bytes its sealed blocks take in
// the spill file (in the cache folder, out of memory) are counted too. The cost of a burst must not
// grow with the log: the last bursts into the full view alternate with bursts into a second view
// that holds about 10k lines, so both figures are taken under the same load of a shared machine.
// Then one full repaint of a 1920x1080 view at the end of the 10M lines, beside the same repaint of
// the small view; and the first paint of lines never drawn before (the view's line images cannot
// help), beside Qt drawing the same lines' text with QPainter::drawText into an image of the
// same size, which is the least any view drawing antialiased text pays. Both paints again with
// twenty highlight rules set (paint_ms_at_10m_with_rules, paint_new_lines_ms_at_10m_with_rules).
#include "BenchSupport.h"
#include "JapaneseLogCorpus.h"
#include "view/LogScrollView.h"
#include "view/StoreLogView.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QScrollBar>

#include <algorithm>
#include <cstdio>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kLinesPerBurst = 1000;
constexpr int kBursts = 10000;
// Measured bursts per figure; the small view goes from 5k to 16k lines meanwhile.
constexpr int kMeasured = 11;
constexpr int kSmallStart = 5;
constexpr int kPaints = 21;

long residentBytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields.at(1).toLong() * sysconf(_SC_PAGESIZE) : 0;
}

// One burst as the appender makes it, from one of eleven files in turn, so that every burst
// begins a run of origins; returns its cost in milliseconds.
double appendBurst(StoreLogView &view, JapaneseLogCorpus &corpus)
{
    static int burst = 0;
    const auto origin = quint16(++burst % 11 + 1);
    const QString text = corpus.nextText(kLinesPerBurst);
    const double start = threadMs();
    const qsizetype end = view.textLength();
    if (view.caret() < end)
        view.setCaret(end);
    view.insertAtCaret(text, origin);
    QApplication::processEvents();
    return threadMs() - start;
}

void show(StoreLogView &view, QSize size)
{
    view.widget()->resize(size);
    view.widget()->show();
    QApplication::processEvents();
}

double medianRepaint(StoreLogView &view)
{
    std::vector<double> timings;
    for (int k = 0; k < kPaints; ++k) {
        const double start = threadMs();
        view.widget()->viewport()->repaint();
        timings.push_back(threadMs() - start);
    }
    return median(timings);
}

// The first paint of a screen of lines drawn nowhere before: pages picked at random in the
// 10M lines. Returns the median, and in reference the median cost of QPainter::drawText over
// the same lines.
double medianFreshPaint(StoreLogView &view, double &reference)
{
    LogScrollView *widget = view.widget();
    const LogStore &store = view.store();
    QRandomGenerator random(5);
    std::vector<double> timings;
    std::vector<double> references;
    QImage image(widget->viewport()->size(), QImage::Format_RGB32);
    for (int k = 0; k < kPaints; ++k) {
        const qint64 line = qint64(random.bounded(quint64(store.lineCount() - 100)));
        widget->verticalScrollBar()->setValue(int(line)); // paints nothing until asked
        const double start = threadMs();
        widget->viewport()->repaint();
        timings.push_back(threadMs() - start);

        const double drawStart = threadMs();
        QPainter painter(&image);
        painter.fillRect(image.rect(), Qt::white);
        painter.setFont(widget->font());
        const int height = widget->viewLayout().metrics().lineHeight();
        for (qint64 row = 0; row < widget->viewLayout().shownLines(); ++row) {
            const LineNo at = widget->viewLayout().topLine() + row;
            const StoreOffset begin = store.lineStart(at);
            const QString text = store.read(begin, store.lineEnd(at) - begin).text;
            painter.drawText(QPointF(0, row * height + height - 4), text);
        }
        painter.end();
        references.push_back(threadMs() - drawStart);
    }
    reference = median(references);
    return median(timings);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    useViewFont();
    JapaneseLogCorpus fullCorpus(1);
    JapaneseLogCorpus smallCorpus(2);
    StoreLogView full;
    show(full, QSize(800, 600));
    const long rssBefore = residentBytes();
    for (int burst = 0; burst < kBursts; ++burst)
        appendBurst(full, fullCorpus);
    const long rssAfter = residentBytes();
    const qint64 spilled = full.store().spilledBytes();

    StoreLogView small;
    show(small, QSize(800, 600));
    for (int burst = 0; burst < kSmallStart; ++burst)
        appendBurst(small, smallCorpus);
    std::vector<double> at10k;
    std::vector<double> at10m;
    for (int i = 0; i < kMeasured; ++i) {
        at10m.push_back(appendBurst(full, fullCorpus));
        at10k.push_back(appendBurst(small, smallCorpus));
    }

    show(full, QSize(1920, 1080));
    show(small, QSize(1920, 1080));
    const double paintFull = medianRepaint(full);
    const double paintSmall = medianRepaint(small);
    double drawText = 0;
    const double freshPaint = medianFreshPaint(full, drawText);
    full.setHighlightRules(twentyRules());
    const double paintRules = medianRepaint(full);
    double drawTextRules = 0;
    const double freshRules = medianFreshPaint(full, drawTextRules);

    const double lines = double(kLinesPerBurst) * kBursts;
    std::printf("bench: append_ms_per_1k_at_10k %.2f ms\n", median(at10k));
    std::printf("bench: append_ms_per_1k_at_10m %.2f ms\n", median(at10m));
    std::printf("bench: append_10m_vs_10k %.2f x\n", median(at10m) / median(at10k));
    std::printf("bench: rss_bytes_per_line_at_10m %.1f B\n", double(rssAfter - rssBefore) / lines);
    std::printf("bench: spill_bytes_per_line_at_10m %.1f B\n", double(spilled) / lines);
    std::printf("bench: paint_ms_at_10m %.2f ms\n", paintFull);
    std::printf("bench: paint_10m_vs_16k %.2f x\n", paintFull / paintSmall);
    std::printf("bench: paint_new_lines_ms_at_10m %.2f ms\n", freshPaint);
    std::printf("bench: paint_new_lines_vs_drawtext %.2f x\n", freshPaint / drawText);
    std::printf("bench: paint_ms_at_10m_with_rules %.2f ms\n", paintRules);
    std::printf("bench: paint_with_rules_vs_without %.2f x\n", paintRules / paintFull);
    std::printf("bench: paint_new_lines_ms_at_10m_with_rules %.2f ms\n", freshRules);
    std::printf("bench: paint_new_lines_with_rules_vs_without %.2f x\n", freshRules / freshPaint);
    return 0;
}
