// Idle cost: eleven watched files, a 100 ms polling interval and nothing written. The process
// CPU time over ten seconds, as a percentage of one core; the reference in the same run is the
// same window watching no file at all, so what the figure shows is the cost of the polling.
#include "LiveWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <cstdio>

namespace {

double cpuPercentWhileIdle(int fileCount, const QTemporaryDir &dir, int seconds)
{
    LiveWindow live({QStringLiteral("/i=100")}, dir.filePath(QStringLiteral("config")));
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
    const double none = cpuPercentWhileIdle(0, dir, 3);
    const double eleven = cpuPercentWhileIdle(11, dir, 10);
    if (none < 0 || eleven < 0) {
        std::fprintf(stderr, "bench_idle: the window did not start\n");
        return 1;
    }
    std::printf("bench: idle_cpu_percent %.2f %%\n", eleven);
    std::printf("bench: idle_cpu_percent_without_files %.2f %%\n", none);
    return 0;
}
