// Reading path throughput: a ~100 MB code page 932 log with CR LF line ends (about a fifth of
// its bytes Japanese) and its EUC-JP twin, each read whole through the incremental reader
// (chunk by chunk, as a look at a file that grew that much takes it),
// beside `iconv -f CP932 -t UTF-16LE` on the Shift_JIS file in the same run; then ~100 MB of
// the Japanese corpus in UTF-8, read as UTF-8 and in the automatic setting, beside
// `iconv -f UTF-8 -t UTF-16LE` on it. The figures are ratios (iconv's time / ours), so a busy
// machine moves both sides alike.
//
// Last, detection: the time the automatic setting takes to decide each of the corpus's three
// forms from a file's first bytes, median of many, beside decoding one 2 MiB chunk of it.
#include "BenchSupport.h"
#include "JapaneseLogCorpus.h"
#include "engine/CharacterSets.h"
#include "engine/EncodingDetector.h"
#include "engine/EucJpDecoder.h"
#include "engine/EucToSjis.h"
#include "engine/IncrementalReader.h"
#include "engine/TextSink.h"
#include "engine/WatchedFileTable.h"
#include "platform/Clock.h"
#include "platform/Cp932Decoder.h"
#include "platform/LocalFileAccess.h"
#include "platform/Utf8Decoder.h"

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

// Counts the bytes of the store's form the reader hands on.
struct CountingSink : TextSink
{
    void show(int, QByteArrayView text, bool) override { bytes += text.size(); }
    qsizetype bytes = 0;
};

// Seconds to read the whole file through the reader, chunk by chunk, as a first read from
// position 1.
double readerSeconds(const QString &path, qint32 characterSet, qsizetype *storeBytes)
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
    *storeBytes = step == ReadStep::Done ? sink.bytes : -1;
    return seconds;
}

// Median milliseconds of one call of work, over enough calls to be above the clock's grain.
template<typename Work>
double medianMs(Work work)
{
    std::vector<double> samples;
    for (int round = 0; round < 31; ++round) {
        QElapsedTimer timer;
        timer.start();
        for (int k = 0; k < 100; ++k)
            work();
        samples.push_back(timer.nsecsElapsed() / 1e6 / 100);
    }
    return median(samples);
}

// The automatic setting's decision on each form of the corpus; false when one is wrong.
bool benchDetection(const QString &corpus)
{
    Cp932Decoder sjis;
    EucJpDecoder euc(sjis);
    Utf8Decoder utf8;
    const EncodingDetector detector(sjis, euc, utf8);
    const struct
    {
        const char *name;
        qint32 characterSet;
        QByteArray bytes;
    } forms[] = {
        {"sjis", CharacterSets::kShiftJis, JapaneseLogCorpus::toShiftJis(corpus)},
        {"euc", CharacterSets::kEucJp, JapaneseLogCorpus::toEucJp(corpus)},
        {"utf8", CharacterSets::kUtf8, JapaneseLogCorpus::toUtf8(corpus)},
    };
    bool right = true;
    double slowest = 0;
    double chunkMs = 0;
    for (const auto &form : forms) {
        const QByteArrayView chunk = QByteArrayView(form.bytes).first(2 << 20);
        qint32 decided = -1;
        const double ms = medianMs([&] { decided = detector.examine(chunk, true).characterSet; });
        right = right && decided == form.characterSet;
        std::printf("bench: detect_%s_ms %.4f ms\n", form.name, ms);
        slowest = std::max(slowest, ms);
        if (form.characterSet == CharacterSets::kUtf8)
            chunkMs = medianMs([&] { utf8.decode(chunk, TextDecoder::Tail::DecodeAll); });
    }
    std::printf("bench: detect_ms %.4f ms\n", slowest);
    std::printf("bench: detect_vs_chunk_decode %.4f x\n", slowest / chunkMs);
    return right;
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

    JapaneseLogCorpus corpus;
    QByteArray utf8;
    utf8.reserve(kTargetBytes + 200);
    while (utf8.size() < kTargetBytes)
        utf8 += JapaneseLogCorpus::toUtf8(corpus.nextText(10000));
    const QString utf8Path = dir.filePath(QStringLiteral("utf8.log"));
    if (!writeFile(utf8Path, utf8)) {
        std::fprintf(stderr, "bench_decode: cannot write the UTF-8 log\n");
        return 1;
    }
    double bestUtf8Iconv = 1e9, bestUtf8 = 1e9, bestAuto = 1e9;
    qsizetype utf8Chars = 0, autoChars = 0;
    for (int round = 0; round < kRounds; ++round) {
        bestUtf8Iconv = std::min(
            bestUtf8Iconv,
            iconvMilliseconds(utf8Path, QStringLiteral("UTF-16LE"), QStringLiteral("UTF-8")) / 1e3);
        bestUtf8 = std::min(bestUtf8, readerSeconds(utf8Path, CharacterSets::kUtf8, &utf8Chars));
        bestAuto
            = std::min(bestAuto, readerSeconds(utf8Path, CharacterSets::kAutomatic, &autoChars));
    }
    if (bestUtf8Iconv <= 0 || utf8Chars <= 0 || autoChars != utf8Chars) {
        std::fprintf(stderr, "bench_decode: UTF-8 reference or automatic reading mismatch\n");
        return 1;
    }
    std::printf("bench: decode_utf8_mb_per_s %.0f MB/s\n", utf8.size() / 1e6 / bestUtf8);
    std::printf("bench: decode_utf8_iconv_mb_per_s %.0f MB/s\n", utf8.size() / 1e6 / bestUtf8Iconv);
    std::printf("bench: decode_utf8_vs_iconv %.2f x\n", bestUtf8Iconv / bestUtf8);
    std::printf("bench: decode_auto_vs_iconv %.2f x\n", bestUtf8Iconv / bestAuto);

    if (!benchDetection(JapaneseLogCorpus(1).nextText(40000))) {
        std::fprintf(stderr, "bench_decode: a form of the corpus was decided wrongly\n");
        return 1;
    }
    return 0;
}
