// Start-up: from creating the main window to the window shown, with files given on the
// command line in view mode (/v) — ten of them, the most a command line registers, plus an
// eleventh added as the file-list dialog would — each holding 1 MB of Japanese Shift_JIS
// lines. The reference in the same run is the same start with no file at all.
#include "LiveWindow.h"

#include <QApplication>

#include <algorithm>
#include <cstdio>

namespace {

QByteArray megabyteOfLog()
{
    // "2026-12-07 09:00:00 [INFO] 受注データを取り込みました" in code page 932, CR LF.
    const QByteArray line = QByteArray("2026-12-07 09:00:00 [INFO] ")
        + QByteArray::fromHex("8ef3928d8366815b835e82f08ee682e88d9e82dd82dc82b582bd") + "\r\n";
    QByteArray log;
    while (log.size() < 1000 * 1000)
        log += line;
    return log;
}

double startMilliseconds(const QStringList &files, const QTemporaryDir &dir, bool eleventh)
{
    return millisecondsToFirstPaint(QStringList {QStringLiteral("/v")} + files.mid(0, 10),
                                    dir.filePath(QStringLiteral("config")),
                                    [&](frmLogView &window) {
                                        if (eleventh)
                                            window.addFile(files.at(10));
                                    });
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QTemporaryDir dir;
    QStringList files;
    const QByteArray log = megabyteOfLog();
    for (int i = 0; i < 11; ++i) {
        files << dir.filePath(QStringLiteral("start%1.log").arg(i));
        writeFile(files.last(), log);
    }
    double empty = 1e9, full = 1e9;
    for (int round = 0; round < 3; ++round) {
        empty = std::min(empty, startMilliseconds({}, dir, false));
        full = std::min(full, startMilliseconds(files, dir, true));
    }
    if (empty < 0 || full < 0) {
        std::fprintf(stderr, "bench_startup: the window did not start\n");
        return 1;
    }
    std::printf("bench: startup_ms %.0f ms\n", full);
    std::printf("bench: startup_vs_empty_start %.1f x\n", full / empty);
    return 0;
}
