// One line of 50 MB: the generated Japanese log with its line breaks taken out, ended by CR LF
// as the appender inserts a line, appended in one piece to the real view (offscreen,
// 1920x1080) and painted once; then scrolled to the middle of the line and painted again. The
// reference in the same run is the same text with its line breaks, appended and painted the
// same way: a long line must cost no more than ordinary lines. Last, the same line without its
// line end, which leaves the caret at its far end: the view then measures the whole line to
// scroll there.
#include "BenchSupport.h"
#include "JapaneseLogCorpus.h"
#include "view/LogScrollView.h"
#include "view/StoreLogView.h"

#include <QApplication>
#include <QScrollBar>

#include <cstdio>

namespace {

constexpr qsizetype kUnits = 50 * 1000 * 1000;

// Appends text to a fresh view and paints it; returns the milliseconds.
double appendAndPaint(const QString &text, double *scrolledPaint = nullptr)
{
    StoreLogView view;
    view.widget()->resize(1920, 1080);
    view.widget()->show();
    QApplication::processEvents();
    const double start = threadMs();
    view.insertAtCaret(text);
    view.widget()->viewport()->repaint();
    const double elapsed = threadMs() - start;
    if (scrolledPaint) {
        view.setCaret(0);
        QScrollBar *bar = view.widget()->horizontalScrollBar();
        bar->setValue(bar->maximum() / 2);
        const double scrolled = threadMs();
        view.widget()->viewport()->repaint();
        *scrolledPaint = threadMs() - scrolled;
    }
    return elapsed;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    useViewFont();

    JapaneseLogCorpus corpus;
    QString lines;
    lines.reserve(kUnits + 200);
    while (lines.size() < kUnits)
        lines += corpus.nextLine() + QStringLiteral("\r\n");
    QString line = lines;
    line.replace(QStringLiteral("\r\n"), QStringLiteral("  "));
    line.chop(2);
    const QString openEnd = line;
    line += QStringLiteral("\r\n");

    double scrolled = 0;
    const double longLine = appendAndPaint(line, &scrolled);
    const double manyLines = appendAndPaint(lines);
    const double toTheEnd = appendAndPaint(openEnd);
    std::printf("bench: long_line_ms %.0f ms\n", longLine);
    std::printf("bench: long_line_vs_lines %.2f x\n", longLine / manyLines);
    std::printf("bench: long_line_scrolled_paint_ms %.1f ms\n", scrolled);
    std::printf("bench: long_line_open_end_ms %.0f ms\n", toTheEnd);
    return 0;
}
