// A flood: the real window polls a file every 100 ms, woken by its changes, while a writer
// thread appends 200,000 Japanese lines a second for 20 s (FLOOD_SECONDS to change that), in
// slices every 10 ms.
//   flood_catchup_s: from the writer's last write to the last line in the view;
//   flood_max_gap_ms: the longest gap between two runs of a timer that asks every 10 ms, over
//     the flood and the catch-up: how long the window stopped answering at worst;
//   flood_cpu_s_per_1m_lines: CPU time of the program's threads (the writer's taken out) from
//     the flood's start until every line is shown and sealed, per million lines.
// The references in the same run: the writer's real rate, the probe timer's own interval, and
// the CPU time of the same flood, for half as long, followed by polling alone.
#include "BenchSupport.h"
#include "JapaneseLogCorpus.h"
#include "LiveWindow.h"

#include "BenchSupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>

namespace {
constexpr int kLinesPerSecond = 200000;
constexpr int kSliceMs = 10;
constexpr int kProbeMs = 10;
constexpr int kCorpusLines = 200000;
constexpr int kGiveUpSeconds = 120;

struct Flood
{
    double catchUp = -1;
    double maxGapMs = 0;
    double writerLinesPerSecond = 0;
    double cpuSecondsPer1M = 0;
};

// One second of lines, written over and over; line k starts at offsets[k] in the file's bytes
// and viewed[k] characters of the view are before it.
struct FloodLines
{
    QByteArray lines;
    std::vector<qsizetype> offsets {0};
    std::vector<qint64> viewed {0};
};

Flood flood(const FloodLines &corpus, int seconds, bool wake)
{
    const QByteArray &lines = corpus.lines;
    const auto &offsets = corpus.offsets;
    const auto &viewed = corpus.viewed;
    Flood result;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("flood.log"));
    writeFile(path, {});
    LiveWindow live({QStringLiteral("/i=100"), path}, dir.filePath(QStringLiteral("config")));
    if (!wake)
        live.window.mnuWake_Click();
    if (!live.window.Form_Load())
        return result;
    live.window.show();

    QFile writer(path);
    if (!writer.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return result;
    std::atomic<bool> writing = true;
    std::atomic<qint64> writtenLines = 0;
    std::atomic<double> writerCpuMs = 0;
    QElapsedTimer clock;
    clock.start();
    const double cpuBefore = processCpuSeconds();
    std::atomic<qint64> writerEndNs = 0;
    std::thread thread([&] {
        const double ownBefore = threadMs();
        const auto start = std::chrono::steady_clock::now();
        const int slices = seconds * 1000 / kSliceMs;
        const int perSlice = kLinesPerSecond * kSliceMs / 1000;
        int line = 0;
        for (int slice = 0; slice < slices; ++slice) {
            std::this_thread::sleep_until(start + std::chrono::milliseconds(slice * kSliceMs));
            for (int left = perSlice; left > 0;) {
                const int n = std::min(left, kCorpusLines - line);
                writer.write(lines.constData() + offsets[size_t(line)],
                             offsets[size_t(line + n)] - offsets[size_t(line)]);
                left -= n;
                line = (line + n) % kCorpusLines;
            }
            writtenLines += perSlice;
        }
        writerEndNs = clock.nsecsElapsed();
        writerCpuMs = threadMs() - ownBefore;
        writing = false;
    });

    qint64 lastProbeNs = clock.nsecsElapsed();
    qint64 maxGapNs = 0;
    QEventLoop loop;
    QTimer probe;
    QObject::connect(&probe, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        maxGapNs = std::max(maxGapNs, now - lastProbeNs);
        lastProbeNs = now;
        if (writing)
            return;
        const qint64 written = writtenLines;
        const qint64 expected
            = written / kCorpusLines * viewed.back() + viewed[size_t(written % kCorpusLines)];
        const bool allShown = live.window.rtfLog().textLength() >= expected;
        const double since = double(now - writerEndNs) / 1e9;
        if (allShown || since > kGiveUpSeconds) {
            result.catchUp = since;
            loop.quit();
        }
    });
    probe.start(kProbeMs);
    loop.exec();
    thread.join();
    live.window.rtfLog().store().waitForSeals();
    const double cpuSeconds = processCpuSeconds() - cpuBefore - writerCpuMs / 1e3;
    result.maxGapMs = double(maxGapNs) / 1e6;
    result.writerLinesPerSecond = double(writtenLines) / (double(writerEndNs) / 1e9);
    result.cpuSecondsPer1M = cpuSeconds / (double(writtenLines) / 1e6);
    return result;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const int seconds = qEnvironmentVariableIntValue("FLOOD_SECONDS") > 0
        ? qEnvironmentVariableIntValue("FLOOD_SECONDS")
        : 20;

    JapaneseLogCorpus japanese;
    FloodLines corpus;
    for (int k = 0; k < kCorpusLines; ++k) {
        const QString line = japanese.nextLine();
        corpus.lines += JapaneseLogCorpus::toShiftJis(line) + "\r\n";
        corpus.offsets.push_back(corpus.lines.size());
        corpus.viewed.push_back(corpus.viewed.back() + line.size() + 2);
    }

    const Flood woken = flood(corpus, seconds, true);
    const Flood polled = flood(corpus, std::max(1, seconds / 2), false);
    std::printf("bench: flood_catchup_s %.2f s\n", woken.catchUp);
    std::printf("bench: flood_max_gap_ms %.0f ms\n", woken.maxGapMs);
    std::printf("bench: flood_writer_lines_per_s %.0f lines/s\n", woken.writerLinesPerSecond);
    std::printf("bench: flood_probe_interval_ms %d ms\n", kProbeMs);
    std::printf("bench: flood_cpu_s_per_1m_lines %.2f s\n", woken.cpuSecondsPer1M);
    std::printf("bench: flood_cpu_s_per_1m_lines_polling_only %.2f s\n", polled.cpuSecondsPer1M);
    const auto caughtUp
        = [](const Flood &f) { return f.catchUp >= 0 && f.catchUp <= kGiveUpSeconds; };
    return caughtUp(woken) && caughtUp(polled) ? 0 : 1;
}
