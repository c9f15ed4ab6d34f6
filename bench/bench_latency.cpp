// Latency: lines appended to a watched file at irregular moments; the time from the write until
// the line is in the view, 95th percentile. Waking on change, at the default interval and at
// 100 ms; then by polling alone at 100 ms, whose natural reference is the interval itself: a
// line waits on average half an interval.
#include "LiveWindow.h"

#include "view/LogScrollView.h"
#include <QApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <vector>

namespace {
const QByteArray kLinePrefix = "latency ";
constexpr int kLineChars = 8 + 6 + 2; // prefix, six digits, CR LF as the view counts it

// The 95th percentile in milliseconds, or nullopt when not every line arrived.
std::optional<double> latencyP95(const QStringList &options, int lines, bool wake)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("latency.log"));
    writeFile(path, {});
    LiveWindow live(options + QStringList {path}, dir.filePath(QStringLiteral("config")));
    if (!wake)
        live.window.mnuWake_Click();
    if (!live.window.Form_Load())
        return std::nullopt;
    live.window.show();

    QFile writer(path);
    writer.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered);
    QElapsedTimer clock;
    clock.start();
    std::vector<qint64> written;
    std::vector<double> latencies;
    QEventLoop loop;

    // Arrival: every change of the view's text says how many whole lines it holds now.
    QObject::connect(live.window.rtfLog().widget(), &LogScrollView::contentsChanged, [&] {
        const auto shown = size_t(live.window.rtfLog().textLength() / kLineChars);
        const qint64 now = clock.nsecsElapsed();
        while (latencies.size() < std::min(shown, written.size()))
            latencies.push_back(double(now - written[latencies.size()]) / 1e6);
        if (latencies.size() == size_t(lines))
            loop.quit();
    });

    // Writes at irregular moments, so they fall at every phase of the polling interval.
    QRandomGenerator random(100);
    std::function<void()> writeNext = [&] {
        if (written.size() == size_t(lines))
            return;
        written.push_back(clock.nsecsElapsed());
        writer.write(kLinePrefix
                     + QByteArray::number(qlonglong(written.size())).rightJustified(6, '0')
                     + "\r\n");
        // On the loop: a write still due when the run ends must not reach the next run.
        QTimer::singleShot(int(random.bounded(37, 173)), &loop, writeNext);
    };
    QTimer::singleShot(50, &loop, writeNext);
    QTimer::singleShot(lines * 1000, &loop, &QEventLoop::quit);
    loop.exec();

    if (latencies.size() != size_t(lines))
        return std::nullopt;
    std::sort(latencies.begin(), latencies.end());
    return latencies[size_t(0.95 * double(latencies.size() - 1))];
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const auto atDefault = latencyP95({}, 200, true);
    const auto woken = latencyP95({QStringLiteral("/i=100")}, 80, true);
    const auto polled = latencyP95({QStringLiteral("/i=100")}, 80, false);
    if (!atDefault || !woken || !polled) {
        std::fprintf(stderr, "bench_latency: not every line arrived\n");
        return 1;
    }
    std::printf("bench: latency_p95_ms_default_interval %.1f ms\n", *atDefault);
    std::printf("bench: latency_p95_ms %.1f ms\n", *woken);
    std::printf("bench: latency_p95_ms_polling_only %.1f ms\n", *polled);
    std::printf("bench: latency_p95_vs_interval %.2f x\n", *polled / 100);
    return 0;
}
