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
    , m_blocks(1)
{
}

void LogStore::append(QStringView text)
{
    UnitCoding::Encoder encoder(text);
    while (!encoder.atEnd()) {
        if (m_open.size() < m_blockBytes)
            m_open.resize(m_blockBytes);
        const qsizetype index = qsizetype(m_blocks.size()) - 1;
        Block &open = m_blocks.back();
        qint64 units = 0;
        qint64 breaks = 0;
        const qsizetype written = encoder.encodeInto(m_open.data() + open.bytes,
                                                     m_blockBytes - open.bytes, units, breaks);
        // A cached copy of the open block grows with it instead of being decoded again.
        if (DecodedBlockCache::Entry *entry = m_cache.find(index)) {
            const qsizetype from = entry->text.size();
            UnitCoding::decodeAppend(QByteArrayView(m_open.constData() + open.bytes, written),
                                     entry->text);
            DecodedBlockCache::indexBreaks(*entry, from);
        }
        open.bytes += qint32(written);
        open.units += qint32(units);
        open.breaks += qint32(breaks);
        m_size += units;
        // The encoder stops short only when the block is full.
        if (!encoder.atEnd() || open.bytes == m_blockBytes)
            seal();
    }
}

void LogStore::seal()
{
    Block &open = m_blocks.back();
    open.startsWithLf = open.bytes > 0 && m_open.at(0) == '\n';
    open.endsWithCr = open.bytes > 0 && m_open.at(open.bytes - 1) == '\r';
    const qsizetype edge = std::min<qsizetype>(open.bytes, kEdgeBytes);
    std::copy_n(m_open.constData(), edge, open.edges.begin());
    std::copy_n(m_open.constData() + open.bytes - edge, edge, open.edges.begin() + kEdgeBytes);
    open.frame = m_codec->compress(QByteArrayView(m_open.constData(), open.bytes));
    open.frameBytes = qint32(open.frame.size());
    if (m_spill) {
        if (!spill(open)) {
            m_keptInMemory.push_back(qsizetype(m_blocks.size()) - 1);
        } else if (!m_keptInMemory.empty() && spill(m_blocks[size_t(m_keptInMemory.back())])) {
            // The file takes frames again (space was freed): one kept frame follows each new
            // one, so memory drains without one append paying for all of them.
            m_keptInMemory.pop_back();
        }
    }
    Block next;
    next.start = open.start + open.units;
    next.breaksBefore = open.breaksBefore + open.breaks;
    m_blocks.push_back(std::move(next));
}

bool LogStore::spill(Block &block)
{
    const std::optional<qint64> at = m_spill->append(block.frame);
    if (!at)
        return false;
    block.spilledAt = *at;
    block.frame = QByteArray();
    return true;
}

void LogStore::clear()
{
    std::vector<Block>().swap(m_blocks);
    m_blocks.resize(1);
    std::vector<qsizetype>().swap(m_keptInMemory);
    if (m_spill)
        m_spill->clear();
    m_open = QByteArray();
    m_scratch = QByteArray();
    m_frameRead = QByteArray();
    m_cache.clear();
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
            if (plainBytes(block, m_scratch))
                UnitCoding::decodeAppend(m_scratch, result.text);
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
    if (isOpen(index)) {
        UnitCoding::decodeAppend(QByteArrayView(m_open.constData(), block.bytes), entry.text);
    } else if (plainBytes(block, m_scratch)) {
        UnitCoding::decodeAppend(m_scratch, entry.text);
    }
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

bool LogStore::plainBytes(const Block &block, QByteArray &buffer) const
{
    buffer.resize(block.bytes);
    if (block.spilledAt < 0)
        return m_codec->decompress(block.frame, buffer);
    // The frame is checked as it is decoded, so bytes the file changed or lost read as a
    // damaged block like a frame gone bad in memory.
    m_frameRead.resize(block.frameBytes);
    return m_spill->read(block.spilledAt, m_frameRead) && m_codec->decompress(m_frameRead, buffer);
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
        if (isOpen(index))
            bytes.bytes = QByteArrayView(m_open.constData(), block.bytes);
        else if (passing && index != first && canPass(index, *passing)) {
            bytes.passed = true;
            bytes.head = QByteArrayView(block.edges.data(), kEdgeBytes);
            bytes.tail = QByteArrayView(block.edges.data() + kEdgeBytes, kEdgeBytes);
        } else if (plainBytes(block, buffer))
            bytes.bytes = buffer;
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

qint64 LogStore::heldBytes() const
{
    qint64 bytes = m_open.capacity() + m_scratch.capacity() + m_frameRead.capacity();
    for (const Block &block : m_blocks)
        bytes += block.frame.capacity() + qint64(sizeof(Block));
    return bytes;
}
