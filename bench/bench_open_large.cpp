// Opening a large log: Pivex started in view mode (/v) on one file of 1,000,000 lines of the
// generated Japanese log in Shift_JIS, from creating the main window to its first paint. The
// reference in the same run is `iconv -f CP932 -t UTF-8` converting the same file to
// /dev/null: the least it costs to read and decode those bytes at all. Best of three each.
#include "BenchSupport.h"
#include "JapaneseLogCorpus.h"
#include "LiveWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>

#include <algorithm>
#include <cstdio>

namespace {

constexpr qint64 kLines = 1000000;

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
    double open = 1e9;
    double iconv = 1e9;
    for (int round = 0; round < 3; ++round) {
        open = std::min(open,
                        millisecondsToFirstPaint({QStringLiteral("/v"), path},
                                                 dir.filePath(QStringLiteral("config"))));
        iconv = std::min(iconv, iconvMilliseconds(path, QStringLiteral("UTF-8")));
    }
    if (open < 0 || iconv < 0) {
        std::fprintf(stderr, "bench_open_large: the window or iconv did not run\n");
        return 1;
    }
    std::printf("bench: startup_1m_lines_ms %.0f ms\n", open);
    std::printf("bench: iconv_1m_lines_ms %.0f ms\n", iconv);
    std::printf("bench: startup_vs_iconv %.2f x\n", open / iconv);
    return 0;
}
