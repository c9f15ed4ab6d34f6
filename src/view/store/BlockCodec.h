#pragma once

#include <QByteArray>
#include <QByteArrayView>

// Every call into the compression library lives here: sealed blocks of the log store are
// compressed with LZ4 (Debian's liblz4), chosen over zstd by measurement on a Japanese log
// (docs/performance.md): zstd stores a fifth less but decompresses at half the speed, and a
// find reads every block.
//
// A frame is a kind byte, a 64-bit check of the kind and the payload, and the payload (LZ4
// data, or the plain bytes should LZ4 ever refuse). The check is over the stored bytes, so a
// block that changed after it was sealed (in memory or in the spill file) is found out before
// any of it is decoded. LZ4 records no
// sizes, so the caller keeps the plain size and hands it back; a frame that decodes to any
// other size is damaged. Plain blocks may be at most kMaxPlainBytes long.
//
// The calls are virtual so that tests can damage frames or pass bytes through. The store
// compresses on its sealing thread while it decompresses on its own, so an implementation must
// bear both at once (this one keeps no state).
class BlockCodec
{
public:
    static constexpr qsizetype kMaxPlainBytes = 64 * 1024 * 1024;

    virtual ~BlockCodec() = default;

    // Writes the frame for plain into frame, resized to it; never empty. The frame keeps its
    // capacity, so a buffer handed in for every block is allocated once.
    virtual void compress(QByteArrayView plain, QByteArray &frame) const;
    // Fills plain, which the caller has sized to the block's plain size, from frame. False
    // for a damaged frame; plain's bytes are unspecified then.
    virtual bool decompress(QByteArrayView frame, QByteArray &plain) const;
};
