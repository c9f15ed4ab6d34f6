#include "view/store/BlockCodec.h"

#include <QHashFunctions>

#include <lz4.h>

#include <cstring>

namespace {

enum Kind : char { kStored = 0, kLz4 = 1 };
constexpr qsizetype kHeader = 1 + sizeof(quint64);
// A sixth faster than LZ4's default for 1.5 % more bytes (docs/performance.md): a large file
// opened is compressed whole.
constexpr int kAcceleration = 2;
static_assert(BlockCodec::kMaxPlainBytes < LZ4_MAX_INPUT_SIZE);

// The kind is part of the check: plain bytes taken for LZ4 data (or the other way round) could
// otherwise decode to a block of the right size.
quint64 checkOf(char kind, QByteArrayView payload)
{
    // Seeded by hand, so the value does not depend on Qt's per-process hash seed.
    return quint64(
        qHashBits(payload.data(), size_t(payload.size()), 0x9E3779B97F4A7C15ULL ^ quint8(kind)));
}

// Writes the header of a frame whose payload already stands behind it.
void seal(Kind kind, QByteArray &frame)
{
    frame[0] = kind;
    const quint64 check = checkOf(kind, QByteArrayView(frame).sliced(kHeader));
    std::memcpy(frame.data() + 1, &check, sizeof check);
}

} // namespace

void BlockCodec::compress(QByteArrayView plain, QByteArray &frame) const
{
    if (plain.size() <= kMaxPlainBytes && !plain.isEmpty()) {
        const qsizetype bound = kHeader + LZ4_compressBound(int(plain.size()));
        frame.reserve(bound); // just that: resize() alone would round the capacity up
        frame.resize(bound);
        const int size = LZ4_compress_fast(plain.data(), frame.data() + kHeader, int(plain.size()),
                                           int(frame.size() - kHeader), kAcceleration);
        // 0 means LZ4 gave up; its output is undefined then, so the block is kept as it is.
        if (size > 0 && size < plain.size()) {
            frame.resize(kHeader + size);
            seal(kLz4, frame);
            return;
        }
    }
    frame.reserve(kHeader + plain.size());
    frame.resize(kHeader + plain.size());
    std::memcpy(frame.data() + kHeader, plain.data(), size_t(plain.size()));
    seal(kStored, frame);
}

bool BlockCodec::decompress(QByteArrayView frame, QByteArray &plain) const
{
    if (frame.size() < kHeader || plain.size() > kMaxPlainBytes)
        return false;
    const QByteArrayView payload = frame.sliced(kHeader);
    quint64 check;
    std::memcpy(&check, frame.data() + 1, sizeof check);
    if (check != checkOf(frame.at(0), payload))
        return false;
    switch (frame.at(0)) {
    case kStored:
        if (payload.size() != plain.size())
            return false;
        std::memcpy(plain.data(), payload.data(), size_t(payload.size()));
        return true;
    case kLz4:
        // The safe decoder only: it never reads or writes outside the two buffers, whatever
        // the payload holds.
        return payload.size() <= LZ4_MAX_INPUT_SIZE
            && LZ4_decompress_safe(payload.data(), plain.data(), int(payload.size()),
                                   int(plain.size()))
            == plain.size();
    default:
        return false;
    }
}
