#include "view/store/BlockCodec.h"

#include <QHashFunctions>

#include <lz4.h>

#include <cstring>

namespace {

enum Kind : char { kStored = 0, kLz4 = 1 };
constexpr qsizetype kHeader = 1 + sizeof(quint64);
static_assert(BlockCodec::kMaxPlainBytes < LZ4_MAX_INPUT_SIZE);

// The kind is part of the check: plain bytes taken for LZ4 data (or the other way round) could
// otherwise decode to a block of the right size.
quint64 checkOf(char kind, QByteArrayView payload)
{
    // Seeded by hand, so the value does not depend on Qt's per-process hash seed.
    return quint64(
        qHashBits(payload.data(), size_t(payload.size()), 0x9E3779B97F4A7C15ULL ^ quint8(kind)));
}

QByteArray frame(Kind kind, QByteArrayView payload)
{
    QByteArray out(kHeader + payload.size(), Qt::Uninitialized);
    out[0] = kind;
    const quint64 check = checkOf(kind, payload);
    std::memcpy(out.data() + 1, &check, sizeof check);
    std::memcpy(out.data() + kHeader, payload.data(), size_t(payload.size()));
    return out;
}

} // namespace

QByteArray BlockCodec::compress(QByteArrayView plain) const
{
    if (plain.size() > kMaxPlainBytes || plain.isEmpty())
        return frame(kStored, plain);
    QByteArray packed(LZ4_compressBound(int(plain.size())), Qt::Uninitialized);
    const int size
        = LZ4_compress_default(plain.data(), packed.data(), int(plain.size()), int(packed.size()));
    // 0 means LZ4 gave up; its output is undefined then, so the block is kept as it is.
    if (size <= 0 || size >= plain.size())
        return frame(kStored, plain);
    return frame(kLz4, QByteArrayView(packed.constData(), size));
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
