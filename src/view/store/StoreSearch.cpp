#include "view/store/StoreSearch.h"

#include "view/store/ByteMatcher.h"
#include "view/store/LogStore.h"
#include "view/store/TextSearch.h"
#include "view/store/UnitCoding.h"

#include <algorithm>

namespace StoreSearch {

namespace {

// Keeps the last `units` units of tail followed by bytes: where a hit that goes on into the
// next block can begin. Returns how many units it kept.
qsizetype keepTail(QByteArray &tail, QByteArrayView bytes, qsizetype units)
{
    tail.append(bytes.last(std::min<qsizetype>(bytes.size(), 3 * units)));
    qsizetype kept = 0;
    qsizetype at = tail.size();
    while (at > 0 && kept < units) {
        --at;
        if ((static_cast<unsigned char>(tail.at(at)) & 0xC0) != 0x80)
            ++kept;
    }
    tail.remove(0, at);
    return kept;
}

} // namespace

std::optional<StoreOffset> findForward(const LogStore &store, QStringView word, StoreOffset from,
                                       Qt::CaseSensitivity sensitivity)
{
    const qint64 start = std::max<qint64>(from.value, 0);
    const qsizetype length = word.size();
    if (length == 0 || start > store.size() - length)
        return std::nullopt;

    const ByteMatcher matcher(word, sensitivity);
    std::optional<StoreOffset> found;
    QByteArray tail; // the last length - 1 units before the block now visited
    qsizetype tailUnits = 0;
    bool first = true;
    store.scanBlocks(StoreOffset(start), [&](const LogStore::BlockBytes &block) {
        if (block.damaged) {
            tail.clear();
            tailUnits = 0;
            first = false;
            return true;
        }
        if (tailUnits > 0) {
            // Hits that begin in the blocks before and end in this one.
            const StoreOffset tailStart = block.start - tailUnits;
            QByteArray seam = tail;
            seam += block.bytes.first(UnitCoding::byteOfUnit(block.bytes, length - 1));
            QString text;
            UnitCoding::decodeAppend(seam, text);
            const auto hit
                = TextSearch::findForward(text, word, start - tailStart.value, sensitivity);
            if (hit && *hit < tailUnits) {
                found = tailStart + *hit;
                return false;
            }
        }
        qsizetype fromUnit = 0;
        qsizetype fromByte = 0;
        if (first) {
            fromUnit = qsizetype(start - block.start.value);
            fromByte = UnitCoding::byteOfUnit(block.bytes, fromUnit);
        }
        const qsizetype hit = matcher.find(block.bytes, fromByte, fromUnit);
        if (hit >= 0) {
            found = block.start + hit;
            return false;
        }
        tailUnits = keepTail(tail, block.bytes, length - 1);
        first = false;
        return true;
    });
    return found;
}

} // namespace StoreSearch
