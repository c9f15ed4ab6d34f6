#include "view/store/StoreSearch.h"

#include "view/store/ByteMatcher.h"
#include "view/store/LogStore.h"
#include "view/store/StoreSeam.h"
#include "view/store/UnitCoding.h"

#include <algorithm>

namespace StoreSearch {

LogStore::Passing passingFor(const ByteMatcher &matcher)
{
    return {matcher.requiredPairs(), matcher.reach()};
}

std::optional<StoreOffset> findForward(const LogStore &store, QStringView word, StoreOffset from,
                                       Qt::CaseSensitivity sensitivity)
{
    const qint64 start = std::max<qint64>(from.value, 0);
    const qsizetype length = word.size();
    if (length == 0 || start > store.size() - length)
        return std::nullopt;

    const ByteMatcher matcher(word, sensitivity);
    const LogStore::Passing passing = passingFor(matcher);
    std::optional<StoreOffset> found;
    QByteArray tail; // the last length - 1 units before the block now visited
    qsizetype tailUnits = 0;
    bool first = true;
    store.scanBlocks(
        StoreOffset(start),
        [&](const LogStore::BlockBytes &block) {
            if (block.damaged) {
                tail.clear();
                tailUnits = 0;
                first = false;
                return true;
            }
            // Hits that begin in the blocks before and end in this one.
            const StoreOffset tailStart = block.start - tailUnits;
            StoreSeam::forEachHit(tail, tailUnits, block.passed ? block.head : block.bytes, word,
                                  sensitivity, start - tailStart.value,
                                  [&](qsizetype hit, const QString &) {
                                      found = tailStart + hit;
                                      return false;
                                  });
            if (found)
                return false;
            if (block.passed) {
                tailUnits = StoreSeam::keepLast(tail, block.tail, length - 1);
                first = false;
                return true;
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
            tailUnits = StoreSeam::keepLast(tail, block.bytes, length - 1);
            first = false;
            return true;
        },
        &passing);
    return found;
}

std::optional<StoreOffset> findBackward(const LogStore &store, QStringView word, StoreOffset end,
                                        Qt::CaseSensitivity sensitivity)
{
    const qint64 stop = std::min(end.value, store.size());
    const qsizetype length = word.size();
    if (length == 0 || stop < length)
        return std::nullopt;

    const ByteMatcher matcher(word, sensitivity);
    const LogStore::Passing passing = passingFor(matcher);
    std::optional<StoreOffset> found;
    QByteArray head; // the first length - 1 units after the block now visited, before stop
    store.scanBlocksBackward(
        StoreOffset(stop),
        [&](const LogStore::BlockBytes &block) {
            if (block.damaged) {
                head.clear();
                return true;
            }
            // The part of the block before stop (the first block visited is never passed by).
            const qint64 units = std::min(block.units, stop - block.start.value);
            const QByteArrayView bytes = block.passed ? block.tail
                : units == block.units
                ? block.bytes
                : block.bytes.first(UnitCoding::byteOfUnit(block.bytes, qsizetype(units)));
            // A hit that runs on into the blocks after it begins later than any inside it.
            QByteArray tail;
            const qsizetype tailUnits = StoreSeam::keepLast(tail, bytes, length - 1);
            const StoreOffset tailStart = block.start + (units - tailUnits);
            StoreSeam::forEachHit(tail, tailUnits, head, word, sensitivity, 0,
                                  [&](qsizetype hit, const QString &) {
                                      found = tailStart + hit;
                                      return true; // the last one wins
                                  });
            if (found)
                return false;
            if (block.passed) {
                StoreSeam::keepFirst(head, block.head, length - 1);
                return true;
            }
            qsizetype last = -1;
            matcher.forEachHit(bytes, 0, [&](qsizetype at) {
                last = at;
                return true;
            });
            if (last >= 0) {
                found = block.start + UnitCoding::unitsIn(bytes.first(last));
                return false;
            }
            StoreSeam::keepFirst(head, bytes, length - 1);
            return true;
        },
        &passing);
    return found;
}

} // namespace StoreSearch
