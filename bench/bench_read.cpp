// The reading path on its own: reader, decoder and appender feeding a view that only counts
// what it receives.
//   read_peak_mb_at_1gb: one look takes a 1 GB append of Japanese Shift_JIS lines; the growth
//     of the peak resident set over the process's resident set just before the look, beside
//     that reference itself.
//   read_vs_decode_1m: one look over 1M such lines divided by decoding the same bytes alone in
//     memory, best of three each, in the same run.
#include "BenchSupport.h"
#include "CountedReading.h"
#include "JapaneseLogCorpus.h"
#include "ProcStatus.h"

#include "platform/Clock.h"
#include "platform/LocalFileAccess.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

constexpr qint64 kMiB = qint64(1) << 20;

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const LocalFileAccess files;
    const SteadyClock clock;
    JapaneseLogCorpus corpus;

    // 1M lines, and a gigabyte made of copies of their first 8 MiB.
    QByteArray million;
    qint64 millionLines = 0;
    while (millionLines < 1000000) {
        const QString line = corpus.nextLine() + QStringLiteral("\r\n");
        million += JapaneseLogCorpus::toShiftJis(line);
        ++millionLines;
    }
    const QString millionPath = dir.filePath(QStringLiteral("million.log"));
    const QString gigabytePath = dir.filePath(QStringLiteral("gigabyte.log"));
    QFile millionFile(millionPath), gigabyteFile(gigabytePath);
    const QByteArray block = million.left(million.lastIndexOf('\n', 8 * kMiB) + 1);
    bool written = millionFile.open(QIODevice::WriteOnly) && millionFile.write(million) > 0
        && gigabyteFile.open(QIODevice::WriteOnly);
    while (written && gigabyteFile.size() < 1024 * kMiB)
        written = gigabyteFile.write(block) == block.size();
    millionFile.close();
    gigabyteFile.close();
    if (!written) {
        std::fprintf(stderr, "bench_read: cannot write the sample logs\n");
        return 1;
    }

    {
        CountedReading reading(files, clock, gigabytePath);
        const qint64 baselineKb = procStatusKb("VmRSS");
        if (!resetPeak() || !reading.appender.readLog2(0)) {
            std::fprintf(stderr, "bench_read: the look failed\n");
            return 1;
        }
        const qint64 peakKb = procStatusKb("VmHWM");
        std::printf("bench: read_peak_mb_at_1gb %.1f MB\n", double(peakKb - baselineKb) / 1024);
        std::printf("bench: read_rss_before_mb %.1f MB\n", double(baselineKb) / 1024);
    }

    double bestLook = 1e9, bestDecode = 1e9;
    qsizetype lookBreaks = 0, decodedChars = 0;
    const Cp932Decoder decoder;
    for (int round = 0; round < 3; ++round) {
        QElapsedTimer timer;
        timer.start();
        decodedChars = decoder.decode(million, TextDecoder::Tail::DecodeAll).text.size();
        bestDecode = std::min(bestDecode, timer.nsecsElapsed() / 1e9);

        CountedReading reading(files, clock, millionPath);
        timer.start();
        reading.appender.readLog2(0);
        bestLook = std::min(bestLook, timer.nsecsElapsed() / 1e9);
        lookBreaks = reading.view.lineBreaks;
    }
    if (lookBreaks != millionLines || decodedChars <= 0) {
        std::fprintf(stderr, "bench_read: the look showed %lld of %lld lines\n",
                     qlonglong(lookBreaks), qlonglong(millionLines));
        return 1;
    }
    std::printf("bench: read_vs_decode_1m %.2f x\n", bestLook / bestDecode);
    return 0;
}
