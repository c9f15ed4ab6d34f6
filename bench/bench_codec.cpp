// Why the store compresses with LZ4: 1,000,000 lines of the generated Japanese log in the
// store's own byte form (UnitCoding), cut into 256 KiB blocks, compressed and decompressed
// by the store's BlockCodec (LZ4 with its check) and by zstd at levels 1 and 3. A find
// decompresses every block, so decompression speed weighs most; memory is the bytes per line.
// Speeds are the median of three rounds; ratios compare in the same run.
#include "BenchSupport.h"
#include "JapaneseLogCorpus.h"
#include "view/store/BlockCodec.h"
#include "view/store/UnitCoding.h"

#include <zstd.h>

#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr qint64 kLines = 1000000;
constexpr qsizetype kBlock = 256 * 1024;

struct Figures
{
    double bytesPerLine = 0;
    double compressMs = 0;
    double decompressMs = 0;
};

std::vector<QByteArray> storedBlocks()
{
    JapaneseLogCorpus corpus;
    const QString text = corpus.nextText(kLines);
    std::vector<QByteArray> blocks;
    UnitCoding::Encoder encoder(text);
    qint64 units = 0;
    qint64 breaks = 0;
    while (!encoder.atEnd()) {
        QByteArray block(kBlock, Qt::Uninitialized);
        block.resize(encoder.encodeInto(block.data(), kBlock, units, breaks));
        blocks.push_back(block);
    }
    return blocks;
}

Figures measureLz4(const std::vector<QByteArray> &blocks)
{
    const BlockCodec codec;
    std::vector<double> packTimes, unpackTimes;
    Figures figures;
    for (int round = 0; round < 3; ++round) {
        std::vector<QByteArray> frames;
        double start = threadMs();
        for (const QByteArray &block : blocks) {
            frames.emplace_back();
            codec.compress(block, frames.back());
        }
        packTimes.push_back(threadMs() - start);
        qint64 bytes = 0;
        QByteArray plain;
        start = threadMs();
        for (size_t k = 0; k < blocks.size(); ++k) {
            plain.resize(blocks[k].size());
            codec.decompress(frames[k], plain);
            bytes += frames[k].size();
        }
        unpackTimes.push_back(threadMs() - start);
        figures.bytesPerLine = double(bytes) / kLines;
    }
    figures.compressMs = median(packTimes);
    figures.decompressMs = median(unpackTimes);
    return figures;
}

Figures measureZstd(const std::vector<QByteArray> &blocks, int level)
{
    const std::unique_ptr<ZSTD_CCtx, decltype(&ZSTD_freeCCtx)> pack(ZSTD_createCCtx(),
                                                                    ZSTD_freeCCtx);
    const std::unique_ptr<ZSTD_DCtx, decltype(&ZSTD_freeDCtx)> unpack(ZSTD_createDCtx(),
                                                                      ZSTD_freeDCtx);
    std::vector<double> packTimes, unpackTimes;
    Figures figures;
    for (int round = 0; round < 3; ++round) {
        std::vector<QByteArray> frames;
        double start = threadMs();
        for (const QByteArray &block : blocks) {
            QByteArray frame(qsizetype(ZSTD_compressBound(size_t(block.size()))),
                             Qt::Uninitialized);
            const size_t size = ZSTD_compressCCtx(pack.get(), frame.data(), size_t(frame.size()),
                                                  block.constData(), size_t(block.size()), level);
            frame.resize(ZSTD_isError(size) ? 0 : qsizetype(size));
            frames.push_back(frame);
        }
        packTimes.push_back(threadMs() - start);
        qint64 bytes = 0;
        QByteArray plain(kBlock, Qt::Uninitialized);
        start = threadMs();
        for (const QByteArray &frame : frames) {
            ZSTD_decompressDCtx(unpack.get(), plain.data(), size_t(plain.size()), frame.constData(),
                                size_t(frame.size()));
            bytes += frame.size();
        }
        unpackTimes.push_back(threadMs() - start);
        figures.bytesPerLine = double(bytes) / kLines;
    }
    figures.compressMs = median(packTimes);
    figures.decompressMs = median(unpackTimes);
    return figures;
}

} // namespace

int main()
{
    const std::vector<QByteArray> blocks = storedBlocks();
    qint64 plainBytes = 0;
    for (const QByteArray &block : blocks)
        plainBytes += block.size();
    const double mb = double(plainBytes) / 1e6;
    const Figures lz4 = measureLz4(blocks);
    const Figures zstd1 = measureZstd(blocks, 1);
    const Figures zstd3 = measureZstd(blocks, 3);
    std::printf("bench: codec_plain_bytes_per_line %.1f B\n", double(plainBytes) / kLines);
    for (const auto &[name, f] :
         {std::pair {"lz4", lz4}, std::pair {"zstd1", zstd1}, std::pair {"zstd3", zstd3}}) {
        std::printf("bench: codec_%s_bytes_per_line %.1f B\n", name, f.bytesPerLine);
        std::printf("bench: codec_%s_compress_mb_per_s %.0f MB/s\n", name, mb / f.compressMs * 1e3);
        std::printf("bench: codec_%s_decompress_mb_per_s %.0f MB/s\n", name,
                    mb / f.decompressMs * 1e3);
    }
    std::printf("bench: codec_lz4_vs_zstd1_decompress %.2f x\n",
                zstd1.decompressMs / lz4.decompressMs);
    return 0;
}
