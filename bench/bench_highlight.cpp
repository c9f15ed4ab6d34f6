// Highlight rules, the overview strip and counting matches, over the generated Japanese log.
//   count_matches_ms_at_1m / _at_10m: counting every match of a word found on one line in
//     twelve ("タイムアウト", case-insensitive) in a view of 1M and of 10M lines, the store's
//     counter run to its end in one go with every match marked on the overview (median of
//     five; 10M: of three), and their ratio; the first count at 1M on its own, which also
//     makes each block's filter of byte pairs;
//   overview_update_ms_per_1k: what the overview costs for each burst of 1,000 appended lines
//     with 20 rules set: the turns of the event loop that mark the new lines, beside the
//     append itself (the reference);
//   count_max_gap_ms: the longest gap between two runs of a timer that asks every 10 ms while
//     the real view (offscreen, shown) counts a word over 10M lines and marks 20 new rules in
//     later turns, with the time both took.
#include "BenchSupport.h"
#include "JapaneseLogCorpus.h"
#include "highlight/HighlightRules.h"
#include "view/LogScrollView.h"
#include "view/OverviewScanner.h"
#include "view/StoreLogView.h"
#include "view/store/MatchCounter.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <cstdio>
#include <vector>

namespace {

const QString kWord = QStringLiteral("タイムアウト");

void fill(StoreLogView &view, JapaneseLogCorpus &corpus, qint64 lines)
{
    for (qint64 line = 0; line < lines; line += 1000)
        view.insertAtCaret(corpus.nextText(1000));
}

// The count as the find dialog has it made: every match, each marking its line on the
// overview.
double countMs(const StoreLogView &view, qint64 &count)
{
    MatchCounter counter(kWord, Qt::CaseInsensitive);
    OverviewMarks marks;
    const double start = threadMs();
    counter.step(
        view.store(), [] { return true; }, [&](LineNo line) { marks.markFind(line); });
    count = counter.count();
    return threadMs() - start;
}

// The overview's turns for bursts appended to a view holding rules; the append beside it.
void overviewPerBurst(double &overview, double &append)
{
    StoreLogView view;
    JapaneseLogCorpus corpus(3);
    view.setHighlightRules(twentyRules());
    fill(view, corpus, 10000);
    while (!view.overview().runTurn()) { }
    std::vector<double> turns;
    std::vector<double> appends;
    for (int burst = 0; burst < 21; ++burst) {
        const QString text = corpus.nextText(1000);
        double start = threadMs();
        view.insertAtCaret(text);
        appends.push_back(threadMs() - start);
        start = threadMs();
        while (!view.overview().runTurn()) { }
        turns.push_back(threadMs() - start);
    }
    overview = median(turns);
    append = median(appends);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    useViewFont();
    double overview = 0;
    double append = 0;
    overviewPerBurst(overview, append);

    StoreLogView view;
    JapaneseLogCorpus corpus;
    fill(view, corpus, 1000000);
    qint64 count1m = 0;
    std::vector<double> at1m;
    for (int run = 0; run < 5; ++run)
        at1m.push_back(countMs(view, count1m));
    fill(view, corpus, 9000000);
    qint64 count10m = 0;
    std::vector<double> at10mRuns;
    for (int run = 0; run < 3; ++run)
        at10mRuns.push_back(countMs(view, count10m));
    const double at10m = median(at10mRuns);

    // The real view in the event loop: counting and marking in later turns.
    view.widget()->resize(1280, 800);
    view.widget()->show();
    QApplication::processEvents();
    QElapsedTimer clock;
    clock.start();
    qint64 last = clock.nsecsElapsed();
    qint64 maxGap = 0;
    bool counted = false;
    view.setHighlightRules(twentyRules());
    view.showMatches(kWord, Qt::CaseInsensitive,
                     [&](qint64, bool complete) { counted = complete; });
    double countS = -1;
    QEventLoop loop;
    QTimer probe;
    QObject::connect(&probe, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        maxGap = std::max(maxGap, now - last);
        last = now;
        if (counted && countS < 0)
            countS = double(now) / 1e9;
        if (!view.overview().isBusy())
            loop.quit();
    });
    probe.start(10);
    loop.exec();
    const double bothS = double(clock.nsecsElapsed()) / 1e9;

    std::printf("bench: count_matches_ms_at_1m %.1f ms\n", median(at1m));
    std::printf("bench: count_first_ms_at_1m %.1f ms\n", at1m.front());
    std::printf("bench: count_matches_ms_at_10m %.1f ms\n", at10m);
    std::printf("bench: count_10m_vs_1m %.2f x\n", at10m / median(at1m));
    std::printf("bench: count_matches_at_1m / _at_10m %lld / %lld\n", count1m, count10m);
    std::printf("bench: overview_update_ms_per_1k %.2f ms\n", overview);
    std::printf("bench: overview_vs_append %.2f x\n", overview / append);
    std::printf("bench: count_max_gap_ms %.0f ms\n", double(maxGap) / 1e6);
    std::printf("bench: count_10m_in_turns_s / with_rules_s %.2f / %.2f s\n", countS, bothS);
    return 0;
}
