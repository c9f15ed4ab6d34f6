#pragma once

#include "view/store/BlockCodec.h"
#include "view/store/DecodedBlockCache.h"
#include "view/store/TextSource.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QStringView>

#include <functional>
#include <memory>
#include <vector>

// The log view's text: append-only, in blocks of about blockBytes encoded bytes (see
// UnitCoding.h). Every block but the newest is sealed, compressed by the BlockCodec; the
// newest stays plain and takes the appends. Per block the index keeps its first offset, the
// number of LFs before it, its sizes and its frame: no object per line, so ten million lines
// of a Japanese log take about 30 bytes each. Where a block's lines begin is found again when
// it is decoded, into a cache of a few blocks (DecodedBlockCache).
//
// Offsets and lines are 64-bit throughout (StoreTypes.h); a block holds at most blockBytes
// bytes, so everything inside one fits 32 bits. Line ends are stored as CR LF whatever form
// they were appended in, so lines are found by their LF alone. A CR LF may straddle two
// blocks, so may any line.
//
// Not thread-safe; reads are const but fill the cache. A damaged block (its frame fails its
// check) reads as U+FFFD with its LFs in place, and says so in the ReadResult (StoreTypes.h).
class LogStore : public TextSource
{
public:
    static constexpr qsizetype kDefaultBlockBytes = 256 * 1024;
    static constexpr qsizetype kMinBlockBytes = 16;

    // blockBytes is clamped to [kMinBlockBytes, BlockCodec::kMaxPlainBytes]; small blocks let
    // tests cross block edges with little text. A null codec means the LZ4 one.
    explicit LogStore(qsizetype blockBytes = kDefaultBlockBytes,
                      std::unique_ptr<BlockCodec> codec = nullptr);
    LogStore(const LogStore &) = delete;
    LogStore &operator=(const LogStore &) = delete;

    // Appends text; every CR LF, lone CR and lone LF in it becomes one CR LF. A CR that ends
    // one call and an LF that begins the next are two breaks.
    void append(QStringView text);
    // Drops all text and gives the memory back to the system.
    void clear();

    qint64 size() const override { return m_size; }
    qint64 lineCount() const override;
    StoreOffset lineStart(LineNo line) const override;
    LineNo lineOf(StoreOffset offset) const override;
    ReadResult read(StoreOffset offset, qint64 maxUnits) const override;

    // The plain bytes of one block, for a scan that must not decode (find).
    struct BlockBytes
    {
        StoreOffset start;
        QByteArrayView bytes;
        bool damaged = false; // bytes are empty then
    };
    // Visits every block from the one holding offset on, in order, until visit returns
    // false. The bytes are valid during the call only.
    void scanBlocks(StoreOffset offset, const std::function<bool(const BlockBytes &)> &visit) const;

    // Bytes the store holds for its text: frames, the open block and the cache's buffers.
    qint64 heldBytes() const;
    qsizetype blockCount() const { return qsizetype(m_blocks.size()); }

private:
    struct Block
    {
        qint64 start = 0; // offset of its first unit
        qint64 breaksBefore = 0; // LFs in all blocks before it
        qint32 units = 0;
        qint32 bytes = 0;
        qint32 breaks = 0;
        QByteArray frame; // empty for the open block
    };

    void seal();
    qsizetype blockAt(qint64 offset) const;
    const DecodedBlockCache::Entry &decoded(qsizetype index) const;
    // Plain bytes of a block into buffer; false when the block is damaged.
    bool plainBytes(qsizetype index, QByteArray &buffer) const;
    static void fillDamaged(const Block &block, QString &text);

    qsizetype m_blockBytes;
    std::unique_ptr<BlockCodec> m_codec;
    std::vector<Block> m_blocks; // never empty: the last is the open block
    QByteArray m_open; // the open block's bytes, room for m_blockBytes
    qint64 m_size = 0;
    mutable DecodedBlockCache m_cache;
    mutable QByteArray m_scratch;
};
