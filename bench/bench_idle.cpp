// Idle cost: eleven watched files and nothing written. The process CPU time over ten seconds,
// as a percentage of one core, at the default interval and at the shortest one; the reference
// in the same run is the same window watching no file at all, so what the figures show is the
// cost of following quiet files.
#include "LiveWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <cstdio>

namespace {

double cpuPercentWhileIdle(int fileCount, const QStringList &options, const QTemporaryDir &dir,
                           int seconds)
{
    LiveWindow live(options, dir.filePath(QStringLiteral("config")));
    for (int i = 0; i < fileCount; ++i) {
        const QString path = dir.filePath(QStringLiteral("idle%1.log").arg(i));
        writeFile(path, QByteArray(64 * 1024, 'x') + "\r\n");
        live.window.addFile(path);
    }
    if (!live.window.Form_Load())
        return -1;
    live.window.show();
    QElapsedTimer wall;
    const double cpuBefore = processCpuSeconds();
    wall.start();
    QEventLoop loop;
    QTimer::singleShot(seconds * 1000, &loop, &QEventLoop::quit);
    loop.exec();
    return 100.0 * (processCpuSeconds() - cpuBefore) / (double(wall.nsecsElapsed()) / 1e9);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const double none = cpuPercentWhileIdle(0, {}, dir, 3);
    const double eleven = cpuPercentWhileIdle(11, {}, dir, 10);
    const double shortest = cpuPercentWhileIdle(11, {QStringLiteral("/i=100")}, dir, 10);
    if (none < 0 || eleven < 0 || shortest < 0) {
        std::fprintf(stderr, "bench_idle: the window did not start\n");
        return 1;
    }
    std::printf("bench: idle_cpu_percent %.2f %%\n", eleven);
    std::printf("bench: idle_cpu_percent_at_100ms %.2f %%\n", shortest);
    std::printf("bench: idle_cpu_percent_without_files %.2f %%\n", none);
    return 0;
}
