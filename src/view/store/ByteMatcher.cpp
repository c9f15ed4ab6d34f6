#include "view/store/ByteMatcher.h"

#include "view/store/BigramFilter.h"
#include "view/store/TextSearch.h"
#include "view/store/UnitCoding.h"

#include <algorithm>
#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

ByteMatcher::ByteMatcher(QStringView word, Qt::CaseSensitivity sensitivity)
    : m_caseSensitive(sensitivity == Qt::CaseSensitive)
{
    m_word.reserve(word.size());
    for (const QChar c : word)
        m_word += m_caseSensitive ? c : QChar(TextSearch::foldedUnit(c.unicode()));
    for (const QChar c : std::as_const(m_word)) {
        char bytes[3];
        m_encoded.append(bytes, UnitCoding::encodeUnit(c.unicode(), bytes));
    }
    // Filter on bytes of the word's units at known distances (as long as every unit before has
    // mates of one encoded length only, the next unit's bytes sit at a known distance), the
    // rarest first.
    qsizetype shortest = 0;
    bool fixedLength = true;
    qsizetype offset = 0;
    QByteArray run; // bytes of units whose mates all encode alike, up to here
    for (qsizetype k = 0; k < m_word.size(); ++k) {
        const std::vector<char16_t> mates = matesOf(m_word.at(k).unicode());
        int fewest = 3;
        int most = 1;
        bool uniform = true;
        bool alike = !mates.empty();
        for (const char16_t mate : mates) {
            fewest = std::min(fewest, UnitCoding::encodedLength(mate));
            most = std::max(most, UnitCoding::encodedLength(mate));
            uniform = uniform
                && UnitCoding::encodedLength(mate) == UnitCoding::encodedLength(mates.front());
            alike = alike && sameBytes(mate, mates.front());
        }
        shortest += mates.empty() ? 1 : fewest;
        m_maxLength += most;
        if (alike) {
            char bytes[3];
            run.append(bytes, UnitCoding::encodeUnit(mates.front(), bytes));
        } else {
            addPairs(run);
            run.clear();
        }
        if (fixedLength && (k < kFilteredUnits || k + 1 == m_word.size()))
            addUnitConditions(mates, offset);
        fixedLength = fixedLength && uniform && !mates.empty();
        offset += mates.empty() ? 1 : UnitCoding::encodedLength(mates.front());
    }
    m_minLength = shortest;
    addPairs(run);
    keepRarestConditions();
}

void ByteMatcher::keepRarestConditions()
{
    const auto score = [](const Condition &condition) {
        int sum = 0;
        for (const unsigned char value : condition.values)
            sum += commonness(value);
        return sum;
    };
    std::stable_sort(m_conditions.begin(), m_conditions.end(),
                     [&](const Condition &a, const Condition &b) { return score(a) < score(b); });
    if (m_conditions.size() > 4)
        m_conditions.resize(4);
    for (const Condition &condition : m_conditions)
        m_reach = std::max(m_reach, condition.offset + 1);
}

int ByteMatcher::commonness(unsigned char b)
{
    // How often a byte turns up in a Japanese log stored as UTF-8, roughly: the lead byte of
    // every kana and the second bytes of kana are everywhere, as are blanks and digits; the
    // last byte of a character names it among sixty-four.
    if (b == 0xE3 || b == ' ')
        return 10;
    if ((b >= 0x80 && b <= 0x83) || (b >= 0xE4 && b <= 0xE9))
        return 7;
    if (b >= '0' && b <= '9')
        return 6;
    if ((b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z'))
        return 4;
    if (b >= 0x80 && b <= 0xBF)
        return 2;
    return 3;
}

bool ByteMatcher::sameBytes(char16_t a, char16_t b)
{
    char x[3];
    char y[3];
    const int length = UnitCoding::encodeUnit(a, x);
    if (UnitCoding::encodeUnit(b, y) != length)
        return false;
    for (int k = 0; k < length; ++k) {
        if (BigramFilter::lowered(static_cast<unsigned char>(x[k]))
            != BigramFilter::lowered(static_cast<unsigned char>(y[k])))
            return false;
    }
    return true;
}

void ByteMatcher::addPairs(QByteArrayView run)
{
    const auto *p = reinterpret_cast<const unsigned char *>(run.data());
    for (qsizetype i = 1; i < run.size(); ++i) {
        const quint16 pair = BigramFilter::pair(p[i - 1], p[i]);
        if (std::find(m_pairs.begin(), m_pairs.end(), pair) == m_pairs.end())
            m_pairs.push_back(pair);
    }
}

std::vector<char16_t> ByteMatcher::matesOf(char16_t unit) const
{
    if (m_caseSensitive)
        return {unit};
    return TextSearch::unitsFoldingTo(unit);
}

void ByteMatcher::addUnitConditions(const std::vector<char16_t> &members, qsizetype offset)
{
    if (members.empty())
        return;
    const int length = UnitCoding::encodedLength(members.front());
    const bool uniform = std::all_of(members.begin(), members.end(), [length](char16_t u) {
        return UnitCoding::encodedLength(u) == length;
    });
    // Mates of different lengths agree on nothing but where they begin.
    for (int k = 0; k < (uniform ? length : 1); ++k) {
        Condition condition {offset + k, {}};
        for (const char16_t unit : members) {
            char bytes[3];
            UnitCoding::encodeUnit(unit, bytes);
            const auto value = static_cast<unsigned char>(bytes[k]);
            if (std::find(condition.values.begin(), condition.values.end(), value)
                == condition.values.end())
                condition.values.push_back(value);
        }
        if (condition.values.size() <= 4)
            m_conditions.push_back(std::move(condition));
    }
}

bool ByteMatcher::passes(const unsigned char *p) const
{
    for (const Condition &condition : m_conditions) {
        const unsigned char b = p[condition.offset];
        if (std::find(condition.values.begin(), condition.values.end(), b)
            == condition.values.end())
            return false;
    }
    return true;
}

bool ByteMatcher::matchesAt(const unsigned char *p, qsizetype available) const
{
    if (m_caseSensitive) {
        return available >= m_encoded.size()
            && std::memcmp(p, m_encoded.constData(), size_t(m_encoded.size())) == 0;
    }
    qsizetype at = 0;
    for (const QChar expected : m_word) {
        if (at >= available)
            return false;
        const unsigned char b = p[at];
        if (b < 0x80) { // ASCII folds to ASCII, and only letters change
            if ((b >= 'A' && b <= 'Z' ? b + 0x20 : b) != expected.unicode())
                return false;
            ++at;
            continue;
        }
        const int length = (b & 0xE0) == 0xC0 ? 2 : (b & 0xF0) == 0xE0 ? 3 : 0;
        if (length == 0 || at + length > available)
            return false;
        char16_t unit = b;
        if (length == 2)
            unit = char16_t(((b & 0x1F) << 6) | (p[at + 1] & 0x3F));
        else if (length == 3)
            unit = char16_t(((b & 0x0F) << 12) | ((p[at + 1] & 0x3F) << 6) | (p[at + 2] & 0x3F));
        if (TextSearch::foldedUnit(unit) != expected.unicode())
            return false;
        at += length;
    }
    return true;
}

template<typename Hit>
void ByteMatcher::scan(QByteArrayView bytes, qsizetype from, Hit &&hit) const
{
    if (m_word.isEmpty())
        return;
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype size = bytes.size();
    const qsizetype last = size - std::max(m_minLength, m_reach); // last candidate to test
    qsizetype i = from;
#if defined(__SSE2__)
    // Sixteen candidates at a time. Most chunks hold no byte of the first test at all, so the
    // others are only looked at when it passes.
    struct Test
    {
        __m128i values[4];
        int count;
        qsizetype offset;
    };
    Test tests[4];
    for (size_t c = 0; c < m_conditions.size(); ++c) {
        const auto &list = m_conditions[c].values;
        Test &test = tests[c];
        test.offset = m_conditions[c].offset;
        test.count = int(list.size());
        // An ASCII letter in both cases is one test on the byte with its case bit set.
        if (list.size() == 2 && (list[0] | 0x20) == (list[1] | 0x20) && list[0] != list[1]
            && (list[0] | 0x20) >= 'a' && (list[0] | 0x20) <= 'z') {
            test.count = -1;
            test.values[0] = _mm_set1_epi8(char(list[0] | 0x20));
            continue;
        }
        for (size_t v = 0; v < list.size(); ++v)
            test.values[v] = _mm_set1_epi8(char(list[v]));
    }
    const auto hits = [p](const Test &test, qsizetype at) {
        __m128i data = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + at + test.offset));
        if (test.count < 0)
            return _mm_movemask_epi8(
                _mm_cmpeq_epi8(_mm_or_si128(data, _mm_set1_epi8(0x20)), test.values[0]));
        __m128i any = _mm_cmpeq_epi8(data, test.values[0]);
        for (int v = 1; v < test.count; ++v)
            any = _mm_or_si128(any, _mm_cmpeq_epi8(data, test.values[v]));
        return _mm_movemask_epi8(any);
    };
    const size_t testCount = m_conditions.size();
    for (; testCount > 0 && i + 15 <= last; i += 16) {
        unsigned mask = unsigned(hits(tests[0], i));
        for (size_t c = 1; mask != 0 && c < testCount; ++c)
            mask &= unsigned(hits(tests[c], i));
        for (; mask != 0; mask &= mask - 1) {
            const qsizetype at = i + std::countr_zero(mask);
            if (matchesAt(p + at, size - at) && !hit(at))
                return;
        }
    }
#endif
    for (; i <= last; ++i) {
        if (passes(p + i) && matchesAt(p + i, size - i) && !hit(i))
            return;
    }
}

qsizetype ByteMatcher::findByte(QByteArrayView bytes, qsizetype from) const
{
    qsizetype found = -1;
    scan(bytes, from, [&](qsizetype at) {
        found = at;
        return false;
    });
    return found;
}

void ByteMatcher::forEachHit(QByteArrayView bytes, qsizetype from,
                             const std::function<bool(qsizetype)> &visit) const
{
    scan(bytes, from, visit);
}

qsizetype ByteMatcher::find(QByteArrayView bytes, qsizetype fromByte, qsizetype fromUnit) const
{
    if (m_word.isEmpty())
        return -1;
    const qsizetype at = findByte(bytes, fromByte);
    if (at < 0)
        return -1;
    return fromUnit + UnitCoding::unitsIn(bytes.sliced(fromByte, at - fromByte));
}
