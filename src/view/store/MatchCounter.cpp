#include "view/store/MatchCounter.h"

#include "view/store/StoreSeam.h"
#include "view/store/StoreSearch.h"
#include "view/store/UnitCoding.h"

MatchCounter::MatchCounter(QStringView word, Qt::CaseSensitivity sensitivity)
    : m_word(word.toString())
    , m_sensitivity(sensitivity)
    , m_matcher(word, sensitivity)
    , m_passing(StoreSearch::passingFor(m_matcher))
{
}

void MatchCounter::reset()
{
    m_count = 0;
    m_resumeAt = 0;
    m_lineAtResume = 0;
    m_resumeBlock = -1;
    m_resumeByte = 0;
    m_tail.clear();
    m_tailUnits = 0;
}

bool MatchCounter::step(const LogStore &store, const std::function<bool()> &keepGoing,
                        const HitLines &hitLines)
{
    if (m_word.isEmpty() || m_resumeAt >= store.size())
        return true;
    bool reachedEnd = true;
    store.scanBlocks(
        StoreOffset(m_resumeAt),
        [&](const LogStore::BlockBytes &block) {
            if (!visit(block, hitLines))
                return true; // nothing new in it
            if (m_resumeAt < store.size() && !keepGoing()) {
                reachedEnd = false;
                return false;
            }
            return true;
        },
        &m_passing, LogStore::Filters::Make);
    return reachedEnd;
}

void MatchCounter::countAcross(QByteArrayView after, const HitLines &hitLines)
{
    StoreSeam::forEachHit(m_tail, m_tailUnits, after, m_word, m_sensitivity, 0,
                          [&](qsizetype hit, const QString &seam) {
                              ++m_count;
                              if (hitLines) {
                                  const auto before
                                      = QStringView(seam).sliced(hit).first(m_tailUnits - hit);
                                  hitLines(LineNo(m_lineAtResume - before.count(u'\n')));
                              }
                              return true;
                          });
}

bool MatchCounter::visit(const LogStore::BlockBytes &block, const HitLines &hitLines)
{
    const qint64 end = block.start.value + block.units;
    if (end <= m_resumeAt)
        return false;
    if (block.damaged) {
        m_tail.clear();
        m_tailUnits = 0;
    } else if (block.passed) {
        // No hit inside; the ends it keeps take those across its edges.
        countAcross(block.head, hitLines);
        m_tailUnits = StoreSeam::keepLast(m_tail, block.tail, m_word.size() - 1);
    } else {
        const QByteArrayView bytes = block.bytes;
        const qsizetype fromByte = block.start.value == m_resumeBlock
            ? m_resumeByte
            : UnitCoding::byteOfUnit(bytes, qsizetype(m_resumeAt - block.start.value));
        const QByteArrayView fresh = bytes.sliced(fromByte);
        countAcross(fresh, hitLines);
        qint64 line = m_lineAtResume;
        qsizetype lineCountedTo = fromByte;
        m_matcher.forEachHit(bytes, fromByte, [&](qsizetype at) {
            ++m_count;
            if (hitLines) {
                line += UnitCoding::lineFeedsIn(bytes.sliced(lineCountedTo, at - lineCountedTo));
                lineCountedTo = at;
                hitLines(LineNo(line));
            }
            return true;
        });
        m_tailUnits = StoreSeam::keepLast(m_tail, fresh, m_word.size() - 1);
    }
    m_resumeAt = end;
    m_lineAtResume = block.breaksBefore + block.breaks;
    m_resumeBlock = block.start.value;
    m_resumeByte = block.bytes.size();
    return true;
}
