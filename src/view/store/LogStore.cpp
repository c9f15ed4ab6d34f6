#include "view/store/LogStore.h"

#include "view/store/UnitCoding.h"

#include <algorithm>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

LogStore::LogStore(qsizetype blockBytes, std::unique_ptr<BlockCodec> codec,
                   std::unique_ptr<SpillFile> spill)
    : m_blockBytes(std::clamp(blockBytes, kMinBlockBytes, BlockCodec::kMaxPlainBytes))
    , m_codec(codec ? std::move(codec) : std::make_unique<BlockCodec>())
    , m_spill(std::move(spill))
    , m_sealer(*m_codec, m_spill.get())
    , m_blocks(1)
{
    m_spare.reserve(kMaxSealingBlocks + 1); // every buffer there is, at most
}

LogStore::Block &LogStore::openBlock()
{
    if (m_open.isEmpty()) {
        m_open = QByteArray(m_blockBytes, Qt::Uninitialized); // just that: resize() rounds up
        m_bufferCount = 1;
    }
    return m_blocks.back();
}

void LogStore::grew(qsizetype bytes, qint64 units, qint64 breaks)
{
    Block &open = m_blocks.back();
    // A cached copy of the open block grows with it instead of being decoded again.
    if (DecodedBlockCache::Entry *entry = m_cache.find(qsizetype(m_blocks.size()) - 1)) {
        const qsizetype from = entry->text.size();
        UnitCoding::decodeAppend(QByteArrayView(m_open.constData() + open.bytes, bytes),
                                 entry->text);
        DecodedBlockCache::indexBreaks(*entry, from);
    }
    open.bytes += qint32(bytes);
    open.units += qint32(units);
    open.breaks += qint32(breaks);
    m_size += units;
}

void LogStore::append(QStringView text, OriginRuns::Origin origin)
{
    if (text.isEmpty())
        return;
    const LineNo firstOwnLine = originsBefore(origin);
    collectSealed(false);
    m_sealsInAppend = 0;
    UnitCoding::Encoder encoder(text);
    while (!encoder.atEnd()) {
        Block &open = openBlock();
        qint64 units = 0;
        qint64 breaks = 0;
        const qsizetype written = encoder.encodeInto(m_open.data() + open.bytes,
                                                     m_blockBytes - open.bytes, units, breaks);
        grew(written, units, breaks);
        // The encoder stops short only when the block is full.
        if (!encoder.atEnd() || open.bytes == m_blockBytes)
            seal();
    }
    originsAfter(firstOwnLine, origin, text.back() == u'\r' || text.back() == u'\n');
}

LineNo LogStore::originsBefore(OriginRuns::Origin origin)
{
    // The line the text begins is its own; one it only continues keeps the origin it has, and
    // the text's own lines start after it.
    const LineNo firstOwnLine(lineCount() - (m_atLineStart ? 1 : 0));
    if (m_atLineStart)
        m_origins.record(firstOwnLine, origin);
    return firstOwnLine;
}

void LogStore::originsAfter(LineNo firstOwnLine, OriginRuns::Origin origin, bool endsWithBreak)
{
    if (!m_atLineStart && lineCount() > firstOwnLine.value)
        m_origins.record(firstOwnLine, origin);
    m_atLineStart = endsWithBreak;
}

void LogStore::appendEncoded(QByteArrayView storeBytes, OriginRuns::Origin origin)
{
    if (storeBytes.isEmpty())
        return;
    const LineNo firstOwnLine = originsBefore(origin);
    const bool endsWithBreak = storeBytes.back() == '\n';
    collectSealed(false);
    m_sealsInAppend = 0;
    while (!storeBytes.isEmpty()) {
        Block &open = openBlock();
        const qsizetype piece
            = UnitCoding::unitEdgeAtOrBefore(storeBytes, m_blockBytes - open.bytes);
        qint64 units = 0;
        qint64 breaks = 0;
        UnitCoding::copyCounting(storeBytes.first(piece), m_open.data() + open.bytes, units,
                                 breaks);
        grew(piece, units, breaks);
        storeBytes = storeBytes.sliced(piece);
        // A piece stops short only where the block is full, or its next unit does not fit.
        if (!storeBytes.isEmpty() || open.bytes == m_blockBytes)
            seal();
    }
    originsAfter(firstOwnLine, origin, endsWithBreak);
}

void LogStore::seal()
{
    if (m_blocks.size() == m_blocks.capacity()) // the room for the next block comes first:
        m_blocks.reserve(2 * m_blocks.size()); // nothing is handed over when it cannot be had
    const qsizetype index = qsizetype(m_blocks.size()) - 1;
    Block &open = m_blocks.back();
    open.startsWithLf = open.bytes > 0 && m_open.at(0) == '\n';
    open.endsWithCr = open.bytes > 0 && m_open.at(open.bytes - 1) == '\r';
    const qsizetype edge = std::min<qsizetype>(open.bytes, kEdgeBytes);
    std::copy_n(m_open.constData(), edge, open.edges.begin());
    std::copy_n(m_open.constData() + open.bytes - edge, edge, open.edges.begin() + kEdgeBytes);
    QByteArray next = freeBuffer();
    m_sealer.seal(index, m_open, open.bytes);
    m_open = std::move(next);
    Block following;
    following.start = open.start + open.units;
    following.breaksBefore = open.breaksBefore + open.breaks;
    m_blocks.push_back(following);
}

QByteArray LogStore::freeBuffer()
{
    // As many buffers as the largest append so far has filled blocks, and the open one: an
    // append hands all its blocks over without waiting, unless the sealing thread is still
    // busy with those of the append before. The count follows from the appends alone, and so
    // does the memory.
    ++m_sealsInAppend;
    const qsizetype wanted = std::min(
        m_sealsInAppend + 1,
        std::clamp<qsizetype>(kMaxSealingBytes / m_blockBytes, 1, kMaxSealingBlocks) + 1);
    while (m_bufferCount < wanted) {
        m_spare.emplace_back(m_blockBytes, Qt::Uninitialized);
        ++m_bufferCount;
    }
    if (m_spare.empty())
        collectSealed(true);
    QByteArray buffer = std::move(m_spare.back());
    m_spare.pop_back();
    return buffer;
}

void LogStore::collectSealed(bool waitForOne) const
{
    for (bool wait = waitForOne;; wait = false) {
        std::optional<BlockSealer::Sealed> sealed = m_sealer.takeSealed(wait);
        if (!sealed)
            return;
        const Block &block = m_blocks[size_t(sealed->block)];
        block.frame = std::move(sealed->frame);
        block.frameBytes = sealed->frameBytes;
        block.spilledAt = sealed->spilledAt;
        if (sealed->movedOutBlock >= 0) {
            const Block &moved = m_blocks[size_t(sealed->movedOutBlock)];
            moved.spilledAt = sealed->movedOutAt;
            moved.frame = QByteArray();
        }
        m_sealedBefore = sealed->block + 1;
        m_spare.push_back(std::move(sealed->plain)); // room reserved: no allocation
    }
}

void LogStore::waitForSeals() const
{
    m_sealer.waitUntilSealed();
    collectSealed(false);
}

void LogStore::clear()
{
    m_sealer.clear();
    std::vector<Block>().swap(m_blocks);
    m_blocks.resize(1);
    m_spare.clear();
    m_bufferCount = 0;
    m_sealedBefore = 0;
    m_open = QByteArray();
    m_scratch = QByteArray();
    m_frameRead = QByteArray();
    m_cache.clear();
    m_origins.clear();
    m_atLineStart = true;
    m_size = 0;
#if defined(__GLIBC__)
    // Freed blocks sit in the heap between live allocations; trimming hands the free pages
    // back, so a cleared view shrinks instead of keeping its peak.
    malloc_trim(0);
#endif
}

qint64 LogStore::lineCount() const
{
    const Block &last = m_blocks.back();
    return last.breaksBefore + last.breaks + 1;
}

qsizetype LogStore::blockAt(qint64 offset) const
{
    const auto after = std::partition_point(m_blocks.begin(), m_blocks.end(),
                                            [offset](const Block &b) { return b.start <= offset; });
    return std::max<qsizetype>(0, (after - m_blocks.begin()) - 1);
}

StoreOffset LogStore::lineStart(LineNo line) const
{
    if (line.value <= 0)
        return StoreOffset(0);
    if (line.value >= lineCount())
        return StoreOffset(m_size);
    // The block that holds the line's LF before it: the first whose breaks reach that far.
    const auto it = std::partition_point(m_blocks.begin(), m_blocks.end(), [line](const Block &b) {
        return b.breaksBefore + b.breaks < line.value;
    });
    const qsizetype index = it - m_blocks.begin();
    const DecodedBlockCache::Entry &entry = decoded(index);
    return StoreOffset(it->start + entry.breaks[size_t(line.value - it->breaksBefore - 1)] + 1);
}

LineNo LogStore::lineOf(StoreOffset offset) const
{
    const qint64 at = std::clamp<qint64>(offset.value, 0, m_size);
    const qsizetype index = blockAt(at);
    const Block &block = m_blocks[size_t(index)];
    const DecodedBlockCache::Entry &entry = decoded(index);
    const auto before
        = std::lower_bound(entry.breaks.begin(), entry.breaks.end(), qint32(at - block.start));
    return LineNo(block.breaksBefore + (before - entry.breaks.begin()));
}

ReadResult LogStore::read(StoreOffset offset, qint64 maxUnits) const
{
    ReadResult result;
    qint64 at = std::clamp<qint64>(offset.value, 0, m_size);
    qint64 remaining = std::min(maxUnits, m_size - at);
    if (remaining <= 0)
        return result;
    result.text.reserve(remaining);
    for (qsizetype index = blockAt(at); remaining > 0; ++index) {
        const Block &block = m_blocks[size_t(index)];
        const qint64 local = at - block.start;
        const qint64 take = std::min<qint64>(block.units - local, remaining);
        if (take <= 0)
            continue;
        const bool whole = local == 0 && take == block.units && !isOpen(index);
        if (whole && !m_cache.find(index)) {
            // A block read whole (a large copy) is decoded straight into the result rather
            // than through the cache, which would only push out the blocks on screen.
            const qsizetype before = result.text.size();
            if (const std::optional<QByteArrayView> plain = plainBytes(index, m_scratch))
                UnitCoding::decodeAppend(*plain, result.text);
            if (result.text.size() - before != block.units) {
                result.text.truncate(before);
                QString gap;
                fillDamaged(block, gap);
                result.text += gap;
                result.status = ReadStatus::Damaged;
            }
        } else {
            const DecodedBlockCache::Entry &entry = decoded(index);
            result.text += QStringView(entry.text).sliced(local, take);
            if (entry.damaged)
                result.status = ReadStatus::Damaged;
        }
        at += take;
        remaining -= take;
    }
    return result;
}

const DecodedBlockCache::Entry &LogStore::decoded(qsizetype index) const
{
    if (const DecodedBlockCache::Entry *entry = m_cache.find(index))
        return *entry;
    DecodedBlockCache::Entry &entry = m_cache.put(index);
    const Block &block = m_blocks[size_t(index)];
    if (const std::optional<QByteArrayView> plain = plainBytes(index, m_scratch))
        UnitCoding::decodeAppend(*plain, entry.text);
    DecodedBlockCache::indexBreaks(entry, 0);
    if (entry.text.size() != block.units || qint64(entry.breaks.size()) != block.breaks) {
        entry.text.resize(0);
        entry.breaks.clear();
        fillDamaged(block, entry.text);
        DecodedBlockCache::indexBreaks(entry, 0);
        entry.damaged = true;
    }
    return entry;
}

std::optional<QByteArrayView> LogStore::plainBytes(qsizetype index, QByteArray &buffer) const
{
    const Block &block = m_blocks[size_t(index)];
    if (isOpen(index))
        return QByteArrayView(m_open.constData(), block.bytes);
    if (index >= m_sealedBefore)
        return m_sealer.plainOf(index); // being sealed, or sealed and not taken back yet
    buffer.resize(block.bytes);
    bool intact;
    if (block.spilledAt < 0) {
        intact = m_codec->decompress(block.frame, buffer);
    } else {
        // The frame is checked as it is decoded, so bytes the file changed or lost read as a
        // damaged block like a frame gone bad in memory.
        m_frameRead.resize(block.frameBytes);
        intact = m_sealer.readSpilled(block.spilledAt, m_frameRead)
            && m_codec->decompress(m_frameRead, buffer);
    }
    return intact ? std::optional<QByteArrayView>(buffer) : std::nullopt;
}

void LogStore::fillDamaged(const Block &block, QString &text)
{
    // Breaks go in as CR LF, as the view takes every LF for the end of a CR LF: a bare LF
    // would end each line one unit before it starts. A pair cut by the block's edges keeps
    // its half where it was.
    const qint32 lf = block.startsWithLf ? 1 : 0;
    const qint32 cr = block.endsWithCr ? 1 : 0;
    const qint32 pairs = block.breaks - lf;
    text += QString(lf, u'\n');
    text += QString(block.units - lf - cr - 2 * pairs, QChar(0xFFFD));
    for (qint32 i = 0; i < pairs; ++i)
        text += u"\r\n";
    text += QString(cr, u'\r');
}

bool LogStore::canPass(qsizetype index, const Passing &passing) const
{
    const Block &block = m_blocks[size_t(index)];
    return !passing.pairs.empty() && passing.reach + 2 <= kEdgeBytes && !isOpen(index)
        && block.hasPairs && block.bytes > 2 * kEdgeBytes && block.pairs.missing(passing.pairs) > 0;
}

void LogStore::scan(qsizetype first, qsizetype step,
                    const std::function<bool(const BlockBytes &)> &visit, const Passing *passing,
                    Filters filters) const
{
    QByteArray buffer;
    for (qsizetype index = first; index >= 0 && index < qsizetype(m_blocks.size()); index += step) {
        const Block &block = m_blocks[size_t(index)];
        BlockBytes bytes;
        bytes.start = StoreOffset(block.start);
        bytes.units = block.units;
        bytes.breaksBefore = block.breaksBefore;
        bytes.breaks = block.breaks;
        if (passing && index != first && canPass(index, *passing)) {
            bytes.passed = true;
            bytes.head = QByteArrayView(block.edges.data(), kEdgeBytes);
            bytes.tail = QByteArrayView(block.edges.data() + kEdgeBytes, kEdgeBytes);
        } else if (const std::optional<QByteArrayView> plain = plainBytes(index, buffer))
            bytes.bytes = *plain;
        else
            bytes.damaged = true;
        if (filters == Filters::Make && !bytes.bytes.isEmpty() && !isOpen(index)
            && !block.hasPairs) {
            // Not made when the block is sealed: appending, a flood included, pays nothing for
            // it, and only a later scan can profit anyway.
            block.pairs.add(bytes.bytes);
            block.hasPairs = true;
        }
        if (!visit(bytes))
            return;
    }
}

void LogStore::scanBlocks(StoreOffset offset, const std::function<bool(const BlockBytes &)> &visit,
                          const Passing *passing, Filters filters) const
{
    scan(blockAt(std::clamp<qint64>(offset.value, 0, m_size)), 1, visit, passing, filters);
}

void LogStore::scanBlocksBackward(StoreOffset end,
                                  const std::function<bool(const BlockBytes &)> &visit,
                                  const Passing *passing) const
{
    const qint64 last = std::clamp<qint64>(end.value, 0, m_size) - 1;
    if (last >= 0)
        scan(blockAt(last), -1, visit, passing, Filters::Leave);
}

qint64 LogStore::bytesAtMost(StoreOffset from, StoreOffset to) const
{
    // Each unit takes at least as many bytes here as in UTF-8 (CR LF keeps its CR, a pair of
    // surrogates takes six bytes for UTF-8's four).
    if (to <= from)
        return 0;
    qint64 bytes = 0;
    const qsizetype last = blockAt(std::min(to.value, m_size));
    for (qsizetype index = blockAt(std::max<qint64>(from.value, 0)); index <= last; ++index)
        bytes += m_blocks[size_t(index)].bytes;
    return bytes;
}

qint64 LogStore::heldBytes() const
{
    waitForSeals();
    qint64 bytes
        = m_open.capacity() + m_scratch.capacity() + m_frameRead.capacity() + m_sealer.heldBytes();
    for (const QByteArray &buffer : m_spare)
        bytes += buffer.capacity();
    for (const Block &block : m_blocks)
        bytes += block.frame.capacity() + qint64(sizeof(Block));
    return bytes + m_origins.heldBytes();
}

qint64 LogStore::spilledBytes() const
{
    m_sealer.waitUntilSealed();
    return m_sealer.spilledBytes();
}
