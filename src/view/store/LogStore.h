#pragma once

#include "view/store/BigramFilter.h"
#include "view/store/BlockCodec.h"
#include "view/store/BlockSealer.h"
#include "view/store/DecodedBlockCache.h"
#include "view/store/OriginRuns.h"
#include "view/store/SpillFile.h"
#include "view/store/TextSource.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QStringView>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

// The log view's text: append-only, in blocks of about blockBytes encoded bytes (see
// UnitCoding.h). Every block but the newest is sealed, compressed by the BlockCodec; the
// newest stays plain and takes the appends. A full block is sealed on a thread of the store's
// own (BlockSealer), so an append costs the copy of its bytes and no compression: the block's
// plain bytes are read from until its frame is taken back, at the next append. Per block the index
// keeps its first offset, the number of LFs before it, its sizes and where its frame is: no object
// per line. Where a block's lines begin is found again when it is decoded, into a cache of a few
// blocks (DecodedBlockCache).
//
// With a SpillFile, a sealed block's frame leaves memory once the file has taken all of it,
// so memory holds only the index (a few dozen bytes per block), the open block, the buffers kept
// for the next ones (as many as the largest append has filled blocks, at most kMaxSealingBytes)
// and the cache, however long the log grows. A frame the file does not take stays in memory and
// reads as before; each later seal that the file takes also moves one such frame out, so memory
// drains again once the disk has room. Without a spill file every frame stays in memory (about 30
// bytes a line of a Japanese log).
//
// Offsets and lines are 64-bit throughout (StoreTypes.h); a block holds at most blockBytes
// bytes, so everything inside one fits 32 bits. Line ends are stored as CR LF whatever form
// they were appended in, so lines are found by their LF alone. A CR LF may straddle two
// blocks, so may any line.
//
// Each line remembers the origin of the text that began it (OriginRuns): text appended in the
// middle of a line leaves that line's origin alone and gives its own to the lines it begins.
//
// Every call comes from one thread (the sealing thread is the store's own business); reads are
// const but fill the cache. The sealing thread ends with the store: the block it holds is
// finished, the others waiting are dropped. A damaged block (its frame fails its
// check, or cannot be read back from the spill file whole) reads as U+FFFD with its LFs in
// place, and says so in the ReadResult (StoreTypes.h).
class LogStore : public TextSource
{
public:
    static constexpr qsizetype kDefaultBlockBytes = 256 * 1024;
    static constexpr qsizetype kMinBlockBytes = 16;
    // Bytes kept of each end of a sealed block, for hits across its edges when it is passed by.
    static constexpr qsizetype kEdgeBytes = 64;

    // blockBytes is clamped to [kMinBlockBytes, BlockCodec::kMaxPlainBytes]; small blocks let
    // tests cross block edges with little text. A null codec means the LZ4 one; a null spill
    // file keeps every frame in memory.
    explicit LogStore(qsizetype blockBytes = kDefaultBlockBytes,
                      std::unique_ptr<BlockCodec> codec = nullptr,
                      std::unique_ptr<SpillFile> spill = nullptr);
    LogStore(const LogStore &) = delete;
    LogStore &operator=(const LogStore &) = delete;

    // Appends text from the given origin (0: none); every CR LF, lone CR and lone LF in it
    // becomes one CR LF. A CR that ends one call and an LF that begins the next are two breaks.
    void append(QStringView text, OriginRuns::Origin origin = 0);
    // Appends bytes already in the store's form (UnitCoding.h) with CR LF as every line end, as
    // the reader's decoders write them: they are copied, counted and cut into blocks at unit
    // edges, not encoded again.
    void appendEncoded(QByteArrayView storeBytes, OriginRuns::Origin origin);
    // Drops all text and origins and gives the memory, and the spill file's space, back.
    void clear();

    // Where a line's text came from: the origin given with the text that began it.
    OriginRuns::Origin originOf(LineNo line) const override { return m_origins.originOf(line); }
    const OriginRuns &origins() const { return m_origins; }
    void forEachOriginRun(LineNo from, LineNo to,
                          const std::function<void(LineNo, quint16)> &visit) const override
    {
        m_origins.forEachRun(from, to, visit);
    }
    qint64 bytesAtMost(StoreOffset from, StoreOffset to) const override;

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
        qint64 units = 0;
        qint64 breaksBefore = 0; // LFs in the blocks before it
        qint64 breaks = 0; // LFs in it
        bool damaged = false; // bytes are empty then
        bool passed = false; // left unread for a Passing; bytes are empty then
        // Of a passed block: its first and its last kEdgeBytes bytes (the tail may begin
        // inside a unit), for hits that run into it or out of it.
        QByteArrayView head;
        QByteArrayView tail;
    };
    // What a scan for a word may leave unread (find): the distinct byte pairs that every hit
    // holds (ByteMatcher::requiredPairs) and the most bytes a hit can take. A sealed block is
    // passed by when its filter of pairs lacks one of them: it holds no hit, and a hit across
    // its edges is found in the ends it keeps (head, tail), which take a hit of up to
    // kEdgeBytes - 2 bytes. A block has its filter once a scan that makes them (Filters) has
    // read it; until then, and always the first block a scan visits, it is read.
    struct Passing
    {
        std::vector<quint16> pairs;
        qsizetype reach = 0;
    };
    // Whether a scan makes the filter of pairs of the sealed blocks it reads for the first
    // time (about three times what decompressing a block costs): a scan the user waits for
    // does not; the counts and marks made in later turns of the event loop do, so that the
    // finds after them pass blocks by.
    enum class Filters { Leave, Make };
    // Visits every block from the one holding offset on, in order, until visit returns
    // false. The bytes are valid during the call only.
    void scanBlocks(StoreOffset offset, const std::function<bool(const BlockBytes &)> &visit,
                    const Passing *passing = nullptr, Filters filters = Filters::Leave) const;
    // The same backwards: from the block holding the unit before end down to the first.
    void scanBlocksBackward(StoreOffset end, const std::function<bool(const BlockBytes &)> &visit,
                            const Passing *passing = nullptr) const;

    // Bytes the store holds in memory for its text: frames not spilled, the open block and the
    // buffers; and bytes it keeps in the spill file. Both wait for the blocks being sealed, so
    // they are the figures of the store at rest.
    qint64 heldBytes() const;
    qint64 spilledBytes() const;
    qsizetype blockCount() const { return qsizetype(m_blocks.size()); }
    // Waits until every full block has been sealed and its frame is in place: no work is left
    // for the sealing thread.
    void waitForSeals() const;

private:
    struct Block
    {
        qint64 start = 0; // offset of its first unit
        qint64 breaksBefore = 0; // LFs in all blocks before it
        qint32 units = 0;
        qint32 bytes = 0;
        qint32 breaks = 0;
        // Set when sealed, for reading a damaged block as a gap with its CR LF pairs whole.
        bool startsWithLf = false;
        bool endsWithCr = false;
        // Where the sealed frame is, filled in when the sealer hands it back (which reads may
        // do, hence mutable): the text they give is the same before and after.
        mutable qint64 spilledAt = -1; // in the spill file; -1 when it is not there
        mutable qint32 frameBytes = 0;
        mutable QByteArray frame; // the frame kept in memory; empty for the open block
        // The pairs of its bytes, made when a scan that makes them first reads it.
        mutable BigramFilter pairs;
        mutable bool hasPairs = false;
        // Its first and its last kEdgeBytes bytes (all of it when shorter), set when sealed.
        std::array<char, 2 * kEdgeBytes> edges {};
    };

    // The open block, with room for m_blockBytes bytes.
    Block &openBlock();
    // Adds bytes just written into the open block (and to a cached copy of it).
    void grew(qsizetype bytes, qint64 units, qint64 breaks);
    // Hands the open block to the sealer and opens the next.
    void seal();
    // Origins around an append: the first line the text will begin (recorded when it begins
    // it), then its later lines and whether the text now ends at a line start.
    LineNo originsBefore(OriginRuns::Origin origin);
    void originsAfter(LineNo firstOwnLine, OriginRuns::Origin origin, bool endsWithBreak);
    // A buffer for the next open block: a spare one, or one the sealer gives back.
    QByteArray freeBuffer();
    // Puts what the sealer has finished into the blocks; with waitForOne, waits for a block.
    void collectSealed(bool waitForOne) const;
    bool isOpen(qsizetype index) const { return index + 1 == qsizetype(m_blocks.size()); }
    bool canPass(qsizetype index, const Passing &passing) const;
    void scan(qsizetype first, qsizetype step, const std::function<bool(const BlockBytes &)> &visit,
              const Passing *passing, Filters filters) const;
    qsizetype blockAt(qint64 offset) const;
    const DecodedBlockCache::Entry &decoded(qsizetype index) const;
    // The plain bytes of a block: the open one's, one's being sealed, or a sealed one's decoded
    // into buffer; nullopt when the block is damaged.
    std::optional<QByteArrayView> plainBytes(qsizetype index, QByteArray &buffer) const;
    static void fillDamaged(const Block &block, QString &text);

    // At most this much of the text waits for the sealing thread...
    static constexpr qsizetype kMaxSealingBytes = 8 * 1024 * 1024;
    // ...and at most this many blocks (small ones, in tests).
    static constexpr qsizetype kMaxSealingBlocks = 64;

    qsizetype m_blockBytes;
    std::unique_ptr<BlockCodec> m_codec;
    std::unique_ptr<SpillFile> m_spill;
    mutable BlockSealer m_sealer; // after the codec and the spill file: it uses them to its end
    std::vector<Block> m_blocks; // never empty: the last is the open block
    mutable qsizetype m_sealedBefore = 0; // blocks from here to the open one are with the sealer
    QByteArray m_open; // the open block's bytes, room for m_blockBytes
    mutable std::vector<QByteArray> m_spare; // buffers of m_blockBytes for next open blocks
    qsizetype m_bufferCount = 0; // the open block's, the spare ones and those with the sealer
    qsizetype m_sealsInAppend = 0;
    qint64 m_size = 0;
    bool m_atLineStart = true; // the text is empty or ends with a break
    OriginRuns m_origins;
    mutable DecodedBlockCache m_cache;
    mutable QByteArray m_scratch;
    mutable QByteArray m_frameRead; // a frame read back from the spill file
};
