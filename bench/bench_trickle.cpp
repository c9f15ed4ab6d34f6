// Trickle: eleven watched files, each written one line every 100 ms (the files in turn, 9 ms
// apart), for 60 s (TRICKLE_SECONDS to change that), at the default interval. The process CPU
// time, less the writer thread's own, as a percentage of one core: with waking on change every
// line is read as it comes. The reference in the same run is the same trickle followed by
// polling alone, for a third of the time.
#include "LiveWindow.h"

#include "BenchSupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>

namespace {
constexpr int kFiles = 11;
constexpr int kLineEveryMs = 100;
constexpr int kStaggerMs = 9;

double trickleCpuPercent(int seconds, bool wake)
{
    QTemporaryDir dir;
    LiveWindow live({}, dir.filePath(QStringLiteral("config")));
    if (!wake)
        live.window.mnuWake_Click();
    std::vector<std::unique_ptr<QFile>> files;
    for (int i = 0; i < kFiles; ++i) {
        const QString path = dir.filePath(QStringLiteral("trickle%1.log").arg(i));
        writeFile(path, {});
        live.window.addFile(path);
        files.push_back(std::make_unique<QFile>(path));
        files.back()->open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered);
    }
    if (!live.window.Form_Load())
        return -1;
    live.window.show();

    std::atomic<double> writerMs = 0;
    QElapsedTimer wall;
    const double cpuBefore = processCpuSeconds();
    wall.start();
    std::thread writer([&] {
        const double ownBefore = threadMs();
        const auto start = std::chrono::steady_clock::now();
        for (int k = 0; k < seconds * 1000 / kLineEveryMs; ++k) {
            for (int i = 0; i < kFiles; ++i) {
                std::this_thread::sleep_until(
                    start + std::chrono::milliseconds(k * kLineEveryMs + i * kStaggerMs));
                files[size_t(i)]->write("2024-05-01 12:00:00 [INFO] trickle line "
                                        + QByteArray::number(k) + "\r\n");
            }
        }
        writerMs = threadMs() - ownBefore;
    });
    QEventLoop loop;
    QTimer::singleShot(seconds * 1000 + kLineEveryMs, &loop, &QEventLoop::quit);
    loop.exec();
    writer.join();
    const double cpuMs = (processCpuSeconds() - cpuBefore) * 1e3 - writerMs;
    return 100.0 * cpuMs / (double(wall.nsecsElapsed()) / 1e6);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const int seconds = qEnvironmentVariableIntValue("TRICKLE_SECONDS") > 0
        ? qEnvironmentVariableIntValue("TRICKLE_SECONDS")
        : 60;
    const double woken = trickleCpuPercent(seconds, true);
    const double polled = trickleCpuPercent(std::max(1, seconds / 3), false);
    if (woken < 0 || polled < 0) {
        std::fprintf(stderr, "bench_trickle: the window did not start\n");
        return 1;
    }
    std::printf("bench: trickle_cpu_percent %.2f %%\n", woken);
    std::printf("bench: trickle_cpu_percent_polling_only %.2f %%\n", polled);
    return 0;
}
