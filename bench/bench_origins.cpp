// Where each line came from, and copying it: a view of 10,000,000 lines of the generated
// Japanese log from eleven files written in turns, each turn 1 to 50 lines, as a busy poll of
// eleven logs leaves them.
// - origin_bytes_per_line_at_10m: what the runs of origins take (they stay in memory; the
//   spill file holds none of them), per line.
// - paint_gutter_vs_none_at_10m: a full repaint of a 1920x1080 view at the end, the gutter
//   shown beside it, against the same repaint without it (each the median of several; the
//   lines come from the view's line images, so the gutter's share is as large as it gets).
// - copy_ms_per_1m_lines, copy_peak_vs_text, copy_max_gap_ms: the text of a selection of all
//   10M lines made for a paste, as the clipboard makes it (pieces, progress, events between
//   them): time per million lines, the growth of the peak resident set against the text's
//   UTF-8 size, and the longest the window went without handling an event meanwhile (a 10 ms
//   timer's gaps).
#include "BenchSupport.h"
#include "JapaneseLogCorpus.h"
#include "ProcStatus.h"
#include "platform/QtWorkProgress.h"
#include "view/LogScrollView.h"
#include "view/SelectionCopy.h"
#include "view/StoreLogView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTimer>

#include <cstdio>

namespace {

constexpr qint64 kLines = 10'000'000;
constexpr int kFiles = 11;
constexpr int kPaints = 21;

std::vector<double> repaints(LogScrollView *widget)
{
    std::vector<double> timings;
    for (int k = 0; k < kPaints; ++k) {
        const double start = threadMs();
        widget->viewport()->repaint();
        if (widget->isGutterShown())
            widget->gutter()->repaint();
        timings.push_back(threadMs() - start);
    }
    return timings;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    useViewFont();
    JapaneseLogCorpus corpus(3);
    QRandomGenerator random(18);
    StoreLogView view;
    LogScrollView *widget = view.widget();
    widget->setOriginNamer([](quint16 origin) -> std::optional<OriginMark> {
        return OriginMark {origin, QStringLiteral("/var/log/app%1.log").arg(origin)};
    });
    for (qint64 lines = 0; lines < kLines;) {
        const qint64 run = std::min<qint64>(random.bounded(1, 51), kLines - lines);
        view.insertAtCaret(corpus.nextText(run), quint16(random.bounded(1, kFiles + 1)));
        lines += run;
    }
    const double originBytes = double(view.store().origins().heldBytes()) / double(kLines);

    widget->resize(1920, 1080);
    widget->show();
    QApplication::processEvents();
    std::vector<double> without;
    std::vector<double> with;
    for (int round = 0; round < 2; ++round) {
        widget->setGutterShown(false);
        QApplication::processEvents();
        const auto plain = repaints(widget);
        without.insert(without.end(), plain.begin(), plain.end());
        widget->setGutterShown(true);
        QApplication::processEvents();
        const auto marked = repaints(widget);
        with.insert(with.end(), marked.begin(), marked.end());
    }

    view.select(0, view.textLength());
    const SelectionCopy copy(widget, widget->selection(), false);
    qint64 longestGap = 0;
    QElapsedTimer sinceProbe;
    QTimer probe;
    QObject::connect(&probe, &QTimer::timeout,
                     [&] { longestGap = std::max(longestGap, sinceProbe.restart()); });
    probe.start(10);
    QByteArray utf8;
    resetPeak();
    const qint64 rssBefore = procStatusKb("VmRSS");
    QElapsedTimer timer;
    timer.start();
    sinceProbe.start();
    QtWorkProgress progress(QStringLiteral("コピーしています..."));
    const bool made = copy.make(utf8, progress) == ClipboardText::Outcome::Made;
    const double copyMs = double(timer.nsecsElapsed()) / 1e6;
    longestGap = std::max(longestGap, sinceProbe.elapsed());
    const qint64 peakGrowthKb = procStatusKb("VmHWM") - rssBefore;

    std::printf("bench: origin_bytes_per_line_at_10m %.2f B\n", originBytes);
    std::printf("bench: paint_ms_at_10m_without_gutter %.3f ms\n", median(without));
    std::printf("bench: paint_ms_at_10m_with_gutter %.3f ms\n", median(with));
    std::printf("bench: paint_gutter_vs_none_at_10m %.2f x\n", median(with) / median(without));
    if (!made) {
        std::printf("bench: copy failed\n");
        return 1;
    }
    std::printf("bench: copy_text_mb %.0f MB\n", double(utf8.size()) / 1e6);
    std::printf("bench: copy_ms_per_1m_lines %.0f ms\n", copyMs / (double(kLines) / 1e6));
    std::printf("bench: copy_peak_vs_text %.2f x\n",
                double(peakGrowthKb) * 1024.0 / double(utf8.size()));
    std::printf("bench: copy_max_gap_ms %lld ms\n", static_cast<long long>(longestGap));
    return 0;
}
