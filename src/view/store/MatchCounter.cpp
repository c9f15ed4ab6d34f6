#include "view/store/MatchCounter.h"

#include "view/store/StoreSeam.h"
#include "view/store/StoreSearch.h"
#include "view/store/UnitCoding.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

qint64 lineFeedsIn(QByteArrayView bytes)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype size = bytes.size();
    qint64 count = 0;
    qsizetype i = 0;
#if defined(__SSE2__)
    // Sixteen bytes a step: a log line is some hundred bytes, so looking for each LF on its
    // own would cost a call a line.
    // A match is -1 in its byte; each byte of the sum counts down from 0 for at most 255 steps,
    // then the sixteen bytes are added up.
    const __m128i lf = _mm_set1_epi8('\n');
    while (i + 16 <= size) {
        __m128i sums = _mm_setzero_si128();
        for (int step = 0; step < 255 && i + 16 <= size; ++step, i += 16) {
            const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + i));
            sums = _mm_sub_epi8(sums, _mm_cmpeq_epi8(chunk, lf));
        }
        const __m128i halves = _mm_sad_epu8(sums, _mm_setzero_si128());
        count += _mm_cvtsi128_si32(halves) + _mm_extract_epi16(halves, 4);
    }
#endif
    for (; i < size; ++i)
        count += p[i] == '\n';
    return count;
}

} // namespace

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
                line += lineFeedsIn(bytes.sliced(lineCountedTo, at - lineCountedTo));
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
