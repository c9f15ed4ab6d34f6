// Opening a large log: Pivex started in view mode (/v) on one file of 1,000,000 lines of the
// generated Japanese log in Shift_JIS, timed for the whole job: until the window is shown and
// the store has sealed its last block, nothing left to do. Twice: the main window made in this
// process (offscreen), and the real program started on an X server of its own (Xvfb), timed
// from outside until its window is up and its CPU idle. The reference in the same run is
// `iconv -f CP932 -t UTF-8` converting the same file to /dev/null: the least it costs to read
// and decode those bytes at all. Best of three each.
//   open_cpu_s_per_1m_lines: CPU time of the whole process (all threads) for the job made here.
// PIVEX_BENCH_BINARY names another build's program to start instead of this build's.
#include "BenchSupport.h"
#include "JapaneseLogCorpus.h"
#include "LiveWindow.h"
#include "RealProgram.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>

#include <algorithm>
#include <cstdio>

namespace {

constexpr qint64 kLines = 1000000;

// The whole job in this process, offscreen: milliseconds, and CPU seconds of all threads.
WholeJob openHere(const QStringList &arguments, const QString &configDirectory)
{
    QElapsedTimer timer;
    timer.start();
    const double cpuBefore = processCpuSeconds();
    LiveWindow live(arguments, configDirectory);
    if (!live.window.Form_Load())
        return {};
    live.window.show();
    if (!QTest::qWaitForWindowExposed(&live.window))
        return {};
    QCoreApplication::processEvents(); // the first paint of the view
    live.window.rtfLog().store().waitForSeals();
    return {double(timer.nsecsElapsed()) / 1e6, processCpuSeconds() - cpuBefore};
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("large.log"));
    {
        JapaneseLogCorpus corpus;
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return 1;
        for (qint64 line = 0; line < kLines; line += 10000)
            file.write(JapaneseLogCorpus::toShiftJis(corpus.nextText(10000)));
    }
    const QStringList arguments {QStringLiteral("/v"), path};
    const QString config = dir.filePath(QStringLiteral("config"));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config);
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), dir.filePath(QStringLiteral("cache")));
    const OwnXServer xServer;

    WholeJob here {1e9, 1e9}, real {1e9, 1e9};
    double iconv = 1e9;
    for (int round = 0; round < 3; ++round) {
        const WholeJob job = openHere(arguments, config);
        here = {std::min(here.ms, job.ms), std::min(here.cpuSeconds, job.cpuSeconds)};
        iconv = std::min(iconv, iconvMilliseconds(path, QStringLiteral("UTF-8")));
        if (!xServer.display().isEmpty()) {
            const WholeJob started = runWholeJob(
                qEnvironmentVariable("PIVEX_BENCH_BINARY", QStringLiteral(PIVEX_BINARY)), arguments,
                environment, xServer.display());
            real = {std::min(real.ms, started.ms), std::min(real.cpuSeconds, started.cpuSeconds)};
        }
    }
    if (here.ms < 0 || iconv < 0 || real.ms < 0) {
        std::fprintf(stderr, "bench_open_large: the window, the program or iconv did not run\n");
        return 1;
    }
    std::printf("bench: startup_1m_lines_ms %.0f ms\n", here.ms);
    std::printf("bench: iconv_1m_lines_ms %.0f ms\n", iconv);
    std::printf("bench: startup_vs_iconv %.2f x\n", here.ms / iconv);
    std::printf("bench: open_cpu_s_per_1m_lines %.2f s\n", here.cpuSeconds * 1e6 / kLines);
    if (xServer.display().isEmpty()) {
        std::fprintf(stderr, "bench_open_large: no Xvfb, the real program was not started\n");
        return 0;
    }
    std::printf("bench: startup_real_1m_lines_ms %.0f ms\n", real.ms);
    std::printf("bench: startup_real_vs_iconv %.2f x\n", real.ms / iconv);
    std::printf("bench: open_real_cpu_s_per_1m_lines %.2f s\n", real.cpuSeconds * 1e6 / kLines);
    return 0;
}
