#include "view/store/ByteMatcher.h"

#include "view/store/UnitCoding.h"

#include <QHash>
#include <QList>

#include <algorithm>
#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

char16_t folded(char16_t unit)
{
    return char16_t(QChar::toCaseFolded(char32_t(unit)));
}

// Every unit, grouped by what it folds to; built once, never changed after.
const QHash<char16_t, QList<char16_t>> &unitsByFold()
{
    static const QHash<char16_t, QList<char16_t>> table = [] {
        QHash<char16_t, QList<char16_t>> byFold;
        for (char32_t u = 0; u <= 0xFFFF; ++u)
            byFold[folded(char16_t(u))].append(char16_t(u));
        return byFold;
    }();
    return table;
}

std::vector<char16_t> unitsFoldingTo(char16_t target)
{
    const QList<char16_t> units = unitsByFold().value(target);
    return {units.begin(), units.end()};
}

} // namespace

ByteMatcher::ByteMatcher(QStringView word, Qt::CaseSensitivity sensitivity)
    : m_caseSensitive(sensitivity == Qt::CaseSensitive)
{
    m_word.reserve(word.size());
    for (const QChar c : word)
        m_word += m_caseSensitive ? c : QChar(folded(c.unicode()));
    for (const QChar c : std::as_const(m_word)) {
        char bytes[3];
        m_encoded.append(bytes, UnitCoding::encodeUnit(c.unicode(), bytes));
    }
    if (m_word.isEmpty())
        return;

    if (m_caseSensitive) {
        m_minLength = m_encoded.size();
        addUnitConditions({m_word.front().unicode()}, 0);
        addUnitConditions({m_word.back().unicode()},
                          m_encoded.size() - UnitCoding::encodedLength(m_word.back().unicode()));
        return;
    }
    // Without case, a hit's length in bytes is fixed only when every unit's fold mates
    // encode to as many bytes as the unit itself.
    bool fixedLength = true;
    qsizetype shortest = 0;
    for (const QChar c : std::as_const(m_word)) {
        int fewest = 3;
        for (const char16_t mate : unitsFoldingTo(c.unicode())) {
            fewest = std::min(fewest, UnitCoding::encodedLength(mate));
            fixedLength = fixedLength
                && UnitCoding::encodedLength(mate) == UnitCoding::encodedLength(c.unicode());
        }
        shortest += fewest;
    }
    m_minLength = shortest;
    addUnitConditions(unitsFoldingTo(m_word.front().unicode()), 0);
    if (fixedLength && m_word.size() > 1) {
        addUnitConditions(unitsFoldingTo(m_word.back().unicode()),
                          m_encoded.size() - UnitCoding::encodedLength(m_word.back().unicode()));
    }
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
        if (condition.values.size() <= 4 && m_conditions.size() < 4) {
            m_reach = std::max(m_reach, condition.offset + 1);
            m_conditions.push_back(std::move(condition));
        }
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
        const int length = b < 0x80 ? 1 : (b & 0xE0) == 0xC0 ? 2 : (b & 0xF0) == 0xE0 ? 3 : 0;
        if (length == 0 || at + length > available)
            return false;
        char16_t unit = b;
        if (length == 2)
            unit = char16_t(((b & 0x1F) << 6) | (p[at + 1] & 0x3F));
        else if (length == 3)
            unit = char16_t(((b & 0x0F) << 12) | ((p[at + 1] & 0x3F) << 6) | (p[at + 2] & 0x3F));
        if (folded(unit) != expected.unicode())
            return false;
        at += length;
    }
    return true;
}

qsizetype ByteMatcher::findByte(QByteArrayView bytes, qsizetype from) const
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype size = bytes.size();
    const qsizetype last = size - std::max(m_minLength, m_reach); // last candidate to test
    qsizetype i = from;
#if defined(__SSE2__)
    // Sixteen candidates at a time: each condition's byte against each of its values.
    __m128i values[4][4];
    for (size_t c = 0; c < m_conditions.size(); ++c) {
        for (size_t v = 0; v < 4; ++v) {
            const auto &list = m_conditions[c].values;
            values[c][v] = _mm_set1_epi8(char(list[std::min(v, list.size() - 1)]));
        }
    }
    for (; i + 15 <= last; i += 16) {
        __m128i all = _mm_set1_epi8(char(0xFF));
        for (size_t c = 0; c < m_conditions.size(); ++c) {
            const __m128i data = _mm_loadu_si128(
                reinterpret_cast<const __m128i *>(p + i + m_conditions[c].offset));
            const __m128i any = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(data, values[c][0]),
                                                          _mm_cmpeq_epi8(data, values[c][1])),
                                             _mm_or_si128(_mm_cmpeq_epi8(data, values[c][2]),
                                                          _mm_cmpeq_epi8(data, values[c][3])));
            all = _mm_and_si128(all, any);
        }
        for (unsigned mask = unsigned(_mm_movemask_epi8(all)); mask != 0; mask &= mask - 1) {
            const qsizetype at = i + std::countr_zero(mask);
            if (matchesAt(p + at, size - at))
                return at;
        }
    }
#endif
    for (; i <= last; ++i) {
        if (passes(p + i) && matchesAt(p + i, size - i))
            return i;
    }
    return -1;
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
