// Appending to the log view under a flood: bursts of 1,000 lines of about 100 characters
// each, inserted as the appender does (caret check, one insertion with CR LF line ends) into
// the real view, shown offscreen, with events (layout, painting) processed after every burst.
// One view is filled to 1,000,000 lines; the memory it took per line is measured from the
// process's resident set. The cost of a burst must not grow with the log: the last bursts
// into the full view alternate with bursts into a second view that holds about 10k lines, so
// both figures are taken under the same load of a shared machine.
#include "view/StoreLogView.h"

#include "view/LogScrollView.h"
#include <QApplication>
#include <QFile>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kLinesPerBurst = 1000;
constexpr int kBursts = 1000;
// Measured bursts per figure; the small view goes from 5k to 16k lines meanwhile.
constexpr int kMeasured = 11;
constexpr int kSmallStart = 5;

long residentBytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields.at(1).toLong() * sysconf(_SC_PAGESIZE) : 0;
}

// 1,000 lines like "2026-12-07 09:41:07.123 [INFO] worker-3 request 123456 ... 日本語", each
// about 100 characters, the line number making every burst's text different.
QString makeBurst(int burst)
{
    QString text;
    text.reserve(kLinesPerBurst * 104);
    for (int i = 0; i < kLinesPerBurst; ++i) {
        const int line = burst * kLinesPerBurst + i;
        text += QStringLiteral("2026-12-07 09:41:07.123 [INFO] worker-") % QString::number(line % 8)
            % QStringLiteral(" request ")
            % QString::number(line).rightJustified(8, QLatin1Char('0'))
            % QStringLiteral(
                    " 処理が完了しました status=200 bytes=4096 elapsed=12ms client=10.0.0.")
            % QString::number(line % 250) % QStringLiteral("\r\n");
    }
    return text;
}

// CPU time of this thread: the machine running the benchmark is shared, and time spent
// waiting for a core says nothing about the view.
double threadMs()
{
    timespec now {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

namespace {

// One burst as the appender makes it; returns its cost in milliseconds.
double appendBurst(StoreLogView &view, int burst)
{
    const QString text = makeBurst(burst);
    const double start = threadMs();
    const qsizetype end = view.textLength();
    if (view.caret() < end)
        view.setCaret(end);
    view.insertAtCaret(text);
    QApplication::processEvents();
    return threadMs() - start;
}

void show(StoreLogView &view)
{
    view.widget()->resize(800, 600);
    view.widget()->show();
    QApplication::processEvents();
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    StoreLogView full;
    show(full);
    const long rssBefore = residentBytes();
    for (int burst = 0; burst < kBursts; ++burst)
        appendBurst(full, burst);
    const long rssAfter = residentBytes();

    StoreLogView small;
    show(small);
    for (int burst = 0; burst < kSmallStart; ++burst)
        appendBurst(small, burst);
    std::vector<double> at10k;
    std::vector<double> at1m;
    for (int i = 0; i < kMeasured; ++i) {
        at1m.push_back(appendBurst(full, kBursts + i));
        at10k.push_back(appendBurst(small, kSmallStart + i));
    }

    const double lines = double(kLinesPerBurst) * kBursts;
    std::printf("bench: append_ms_per_1k_at_10k %.2f ms\n", median(at10k));
    std::printf("bench: append_ms_per_1k_at_1m %.2f ms\n", median(at1m));
    std::printf("bench: append_1m_vs_10k %.2f x\n", median(at1m) / median(at10k));
    std::printf("bench: rss_bytes_per_line %.0f B\n", double(rssAfter - rssBefore) / lines);
    return 0;
}
