// Latency: lines appended to a watched file at irregular moments, polled every 100 ms; the
// time from the write until the line is in the view. The 95th percentile is reported beside
// the polling interval, its natural reference: a line waits on average half an interval.
#include "LiveWindow.h"

#include "view/LogScrollView.h"
#include <QApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {
constexpr int kLines = 80;
constexpr int kIntervalMs = 100;
const QByteArray kLinePrefix = "latency ";
constexpr int kLineChars = 8 + 6 + 2; // prefix, six digits, CR LF as the view counts it
} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("latency.log"));
    writeFile(path, {});
    LiveWindow live({QStringLiteral("/i=%1").arg(kIntervalMs), path},
                    dir.filePath(QStringLiteral("config")));
    if (!live.window.Form_Load())
        return 1;
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
        if (latencies.size() == size_t(kLines))
            loop.quit();
    });

    // Writes at irregular moments, so they fall at every phase of the polling interval.
    QRandomGenerator random(100);
    std::function<void()> writeNext = [&] {
        if (written.size() == size_t(kLines))
            return;
        written.push_back(clock.nsecsElapsed());
        writer.write(kLinePrefix
                     + QByteArray::number(qlonglong(written.size())).rightJustified(6, '0')
                     + "\r\n");
        QTimer::singleShot(int(random.bounded(37, 173)), writeNext);
    };
    QTimer::singleShot(50, writeNext);
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    loop.exec();

    if (latencies.size() != size_t(kLines)) {
        std::fprintf(stderr, "bench_latency: only %zu of %d lines arrived\n", latencies.size(),
                     kLines);
        return 1;
    }
    std::sort(latencies.begin(), latencies.end());
    const double p95 = latencies[size_t(0.95 * (latencies.size() - 1))];
    std::printf("bench: latency_p95_ms %.1f ms\n", p95);
    std::printf("bench: latency_p95_vs_interval %.2f x\n", p95 / kIntervalMs);
    return 0;
}
