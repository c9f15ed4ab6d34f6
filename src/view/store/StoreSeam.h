#pragma once

#include "view/store/TextSearch.h"
#include "view/store/UnitCoding.h"

#include <QByteArray>
#include <QString>

#include <algorithm>

// The text on both sides of a seam between pieces of the store's bytes (block edges, or where
// a scan stopped and went on later): a hit of a word of n units that runs across it begins in
// the last n - 1 units before it and ends in the first n - 1 after, so those few units are all
// that a scan keeps and decodes there.
namespace StoreSeam {

// Appends bytes to kept and keeps only its last `units` units; returns how many it kept.
inline qsizetype keepLast(QByteArray &kept, QByteArrayView bytes, qsizetype units)
{
    kept.append(bytes.last(std::min<qsizetype>(bytes.size(), 3 * units)));
    qsizetype count = 0;
    qsizetype at = kept.size();
    while (at > 0 && count < units) {
        --at;
        if ((static_cast<unsigned char>(kept.at(at)) & 0xC0) != 0x80)
            ++count;
    }
    kept.remove(0, at);
    return count;
}

// Puts bytes in front of kept and keeps only its first `units` units.
inline void keepFirst(QByteArray &kept, QByteArrayView bytes, qsizetype units)
{
    kept.prepend(bytes.first(UnitCoding::byteOfUnit(bytes, units)));
    kept.truncate(UnitCoding::byteOfUnit(kept, units));
}

// Every hit that begins in before (which holds beforeUnits units), at unit from or later, and
// ends in after, in order: visit(unit of the hit in before, the decoded seam) until it returns
// false.
template<typename Visit>
void forEachHit(QByteArrayView before, qsizetype beforeUnits, QByteArrayView after,
                QStringView word, Qt::CaseSensitivity sensitivity, qsizetype from, Visit &&visit)
{
    if (beforeUnits == 0 || word.isEmpty())
        return;
    QByteArray seam = before.toByteArray();
    seam += after.first(UnitCoding::byteOfUnit(after, word.size() - 1));
    QString text;
    UnitCoding::decodeAppend(seam, text);
    for (auto hit = TextSearch::findForward(text, word, from, sensitivity);
         hit && *hit < beforeUnits;
         hit = TextSearch::findForward(text, word, *hit + 1, sensitivity)) {
        if (!visit(*hit, text))
            return;
    }
}

} // namespace StoreSeam
