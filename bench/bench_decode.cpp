// Reading path throughput: a ~100 MB code page 932 log with CR LF line ends (about a fifth of
// its bytes Japanese) and its EUC-JP twin, each read whole through the incremental reader
// (chunk by chunk, as a look at a file that grew that much takes it),
// beside `iconv -f CP932 -t UTF-16LE` on the Shift_JIS file in the same run. The figures are
// ratios (iconv's time / ours), so a busy machine moves both sides alike.
#include "BenchSupport.h"
#include "engine/EucToSjis.h"
#include "engine/IncrementalReader.h"
#include "engine/TextSink.h"
#include "engine/WatchedFileTable.h"
#include "platform/Clock.h"
#include "platform/Cp932Decoder.h"
#include "platform/LocalFileAccess.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

constexpr qint64 kTargetBytes = 100 * 1000 * 1000;
constexpr int kRounds = 3;

// EUC-JP text: ASCII framing around ten JIS X 0208 characters (hiragana and kanji).
QByteArray makeEucLog()
{
    QRandomGenerator random(932);
    QByteArray log;
    log.reserve(kTargetBytes + 200);
    qint64 line = 0;
    while (log.size() < kTargetBytes) {
        log += "2026-12-07 09:" + QByteArray::number(10 + line % 50) + ":"
            + QByteArray::number(10 + line % 49) + ".123 [INFO] worker-"
            + QByteArray::number(line % 8) + " ";
        for (int k = 0; k < 10; ++k) {
            const bool kana = random.bounded(3) == 0;
            const int row
                = kana ? 0x24 : 0x30 + int(random.bounded(0x1F)); // rows 0x30-0x4E are full
            const int cell = 0x21 + int(random.bounded(kana ? 0x53 : 0x5E));
            log += char(row | 0x80);
            log += char(cell | 0x80);
        }
        log += " request=" + QByteArray::number(line * 7919 % 100000) + " status=ok\r\n";
        ++line;
    }
    return log;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

struct CountingSink : TextSink
{
    void show(int, QStringView text, bool) override { chars += text.size(); }
    qsizetype chars = 0;
};

// Seconds to read the whole file through the reader, chunk by chunk, as a first read from
// position 1.
double readerSeconds(const QString &path, qint32 characterSet, qsizetype *chars)
{
    LocalFileAccess files;
    Cp932Decoder decoder;
    WatchedFileTable table;
    SteadyClock clock;
    IncrementalReader reader(files, decoder, table, clock);
    table.append(path, 0);
    table.setFilePointer(0, 1);
    CountingSink sink;
    Look look;
    QElapsedTimer timer;
    timer.start();
    ReadStep step;
    while ((step = reader.readNext(0, characterSet, look, sink)) == ReadStep::More) { }
    const double seconds = timer.nsecsElapsed() / 1e9;
    *chars = step == ReadStep::Done ? sink.chars : -1;
    return seconds;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QByteArray euc = makeEucLog();
    const QByteArray sjis = Module1::convertEucToSjis(euc)->bytes;
    const QString sjisPath = dir.filePath(QStringLiteral("sjis.log"));
    const QString eucPath = dir.filePath(QStringLiteral("euc.log"));
    if (!writeFile(sjisPath, sjis) || !writeFile(eucPath, euc)) {
        std::fprintf(stderr, "bench_decode: cannot write the sample logs\n");
        return 1;
    }

    double bestIconv = 1e9, bestSjis = 1e9, bestEuc = 1e9;
    qsizetype sjisChars = 0, eucChars = 0;
    for (int round = 0; round < kRounds; ++round) {
        bestIconv
            = std::min(bestIconv, iconvMilliseconds(sjisPath, QStringLiteral("UTF-16LE")) / 1e3);
        bestSjis = std::min(bestSjis, readerSeconds(sjisPath, 0, &sjisChars));
        bestEuc = std::min(bestEuc, readerSeconds(eucPath, 1, &eucChars));
    }
    if (bestIconv <= 0 || sjisChars != eucChars || sjisChars <= 0) {
        std::fprintf(stderr, "bench_decode: reference or twin mismatch\n");
        return 1;
    }
    const double mb = sjis.size() / 1e6;
    std::printf("bench: decode_sjis_mb_per_s %.0f MB/s\n", mb / bestSjis);
    std::printf("bench: decode_euc_mb_per_s %.0f MB/s\n", euc.size() / 1e6 / bestEuc);
    std::printf("bench: decode_iconv_mb_per_s %.0f MB/s\n", mb / bestIconv);
    std::printf("bench: decode_sjis_vs_iconv %.2f x\n", bestIconv / bestSjis);
    std::printf("bench: decode_euc_vs_iconv %.2f x\n", bestIconv / bestEuc);
    return 0;
}
