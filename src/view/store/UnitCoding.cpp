#include "view/store/UnitCoding.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace UnitCoding {

namespace {

constexpr quint64 kHighBits = 0x8080808080808080ULL;
constexpr quint64 kLowBits = 0x7F7F7F7F7F7F7F7FULL;
constexpr quint64 kLfBytes = 0x0A0A0A0A0A0A0A0AULL;

bool isContinuation(char b)
{
    return (quint8(b) & 0xC0) == 0x80;
}

// The high bit of each byte of eight that is zero, and no other bit.
quint64 zeroBytes(quint64 eight)
{
    return ~(((eight & kLowBits) + kLowBits) | eight | kLowBits);
}

// The high bit of each byte of eight of the form 10xxxxxx: its high bit set, the next clear.
quint64 continuationBytes(quint64 eight)
{
    return eight & ~(eight << 1) & kHighBits;
}

// Counts the bytes flagged (their high bit, nothing else) in words added one by one: each word
// adds a one to eight byte-wide counters, summed before any passes 255. Cheaper than
// std::popcount per word, which on plain x86-64 (no POPCNT) is a library call.
class FlagCount
{
public:
    void add(quint64 flags)
    {
        m_lanes += flags >> 7;
        if (++m_words == 255)
            flush();
    }
    qint64 total()
    {
        flush();
        return m_total;
    }

private:
    void flush()
    {
        constexpr quint64 kEvenBytes = 0x00FF00FF00FF00FFULL;
        const quint64 pairs = (m_lanes & kEvenBytes) + ((m_lanes >> 8) & kEvenBytes);
        m_total += qint64((pairs * 0x0001000100010001ULL) >> 48);
        m_lanes = 0;
        m_words = 0;
    }

    quint64 m_lanes = 0;
    int m_words = 0;
    qint64 m_total = 0;
};

#if defined(__SSE2__)
// The sum of sixteen byte-wide counters.
qint64 laneSum(__m128i lanes)
{
    const __m128i halves = _mm_sad_epu8(lanes, _mm_setzero_si128());
    return qint64(_mm_cvtsi128_si32(halves))
        + qint64(_mm_cvtsi128_si32(_mm_unpackhi_epi64(halves, halves)));
}
#endif

} // namespace

QByteArray encoded(QStringView text)
{
    QByteArray bytes(3 * text.size(), Qt::Uninitialized); // a CR LF takes 2 for 1 or 2 units
    Encoder encoder(text);
    qint64 units = 0;
    qint64 breaks = 0;
    bytes.truncate(encoder.encodeInto(bytes.data(), bytes.size(), units, breaks));
    return bytes;
}

void copyCounting(QByteArrayView bytes, char *out, qint64 &units, qint64 &breaks)
{
    const char *in = bytes.data();
    const qsizetype size = bytes.size();
    qint64 continuations = 0;
    qint64 lfs = 0;
    qsizetype i = 0;
#if defined(__SSE2__)
    // Sixteen bytes at a time, each lane counting up to 255 of its bytes before they are summed.
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i topTwo = _mm_set1_epi8(char(0xC0));
    const __m128i continuation = _mm_set1_epi8(char(0x80));
    const __m128i zero = _mm_setzero_si128();
    while (i + 16 <= size) {
        __m128i continuationLanes = zero;
        __m128i lfLanes = zero;
        for (int round = 0; round < 255 && i + 16 <= size; ++round, i += 16) {
            const __m128i sixteen = _mm_loadu_si128(reinterpret_cast<const __m128i *>(in + i));
            _mm_storeu_si128(reinterpret_cast<__m128i *>(out + i), sixteen);
            // A match is all ones, minus one: subtracting it counts one.
            lfLanes = _mm_sub_epi8(lfLanes, _mm_cmpeq_epi8(sixteen, lf));
            continuationLanes = _mm_sub_epi8(
                continuationLanes, _mm_cmpeq_epi8(_mm_and_si128(sixteen, topTwo), continuation));
        }
        continuations += laneSum(continuationLanes);
        lfs += laneSum(lfLanes);
    }
#endif
    FlagCount continuationCount;
    FlagCount lfCount;
    for (; i + 8 <= size; i += 8) {
        quint64 eight;
        std::memcpy(&eight, in + i, sizeof eight);
        std::memcpy(out + i, &eight, sizeof eight);
        continuationCount.add(continuationBytes(eight));
        lfCount.add(zeroBytes(eight ^ kLfBytes));
    }
    continuations += continuationCount.total();
    lfs += lfCount.total();
    for (; i < size; ++i) {
        out[i] = in[i];
        continuations += isContinuation(in[i]);
        lfs += in[i] == '\n';
    }
    units += size - continuations;
    breaks += lfs;
}

qint64 lineFeedsIn(QByteArrayView bytes)
{
    const char *in = bytes.data();
    const qsizetype size = bytes.size();
    qint64 lfs = 0;
    qsizetype i = 0;
#if defined(__SSE2__)
    const __m128i lf = _mm_set1_epi8('\n');
    while (i + 16 <= size) {
        __m128i lfLanes = _mm_setzero_si128();
        for (int round = 0; round < 255 && i + 16 <= size; ++round, i += 16) {
            const __m128i sixteen = _mm_loadu_si128(reinterpret_cast<const __m128i *>(in + i));
            lfLanes = _mm_sub_epi8(lfLanes, _mm_cmpeq_epi8(sixteen, lf));
        }
        lfs += laneSum(lfLanes);
    }
#endif
    FlagCount lfCount;
    for (; i + 8 <= size; i += 8) {
        quint64 eight;
        std::memcpy(&eight, in + i, sizeof eight);
        lfCount.add(zeroBytes(eight ^ kLfBytes));
    }
    lfs += lfCount.total();
    for (; i < size; ++i)
        lfs += in[i] == '\n';
    return lfs;
}

qsizetype unitEdgeAtOrBefore(QByteArrayView bytes, qsizetype room)
{
    if (room >= bytes.size())
        return bytes.size();
    room = std::max<qsizetype>(room, 0);
    // A unit is at most three bytes: the one at room starts at most two bytes before it.
    for (qsizetype edge = room; edge >= 0 && edge > room - 3; --edge) {
        if (!isContinuation(bytes[edge]))
            return edge;
    }
    return room; // damaged bytes, with no unit starting there: any cut reads alike
}

qsizetype Encoder::encodeInto(char *out, qsizetype capacity, qint64 &units, qint64 &breaks)
{
    qsizetype written = 0;
    if (m_pendingLf && written < capacity) {
        out[written++] = '\n';
        ++units;
        ++breaks;
        m_pendingLf = false;
    }
    const char16_t *text = m_text.utf16();
    const qsizetype size = m_text.size();
    qsizetype i = m_next;
    while (i < size) {
        // While three bytes a unit surely fit, no unit needs its own room check.
        const qsizetype bulk = std::min(size - i, (capacity - written) / 3);
        char *o = out + written;
        qsizetype k = 0;
        for (; k < bulk; ++k) {
            const char16_t c = text[i + k];
            if (c < 0x80) {
                if (c == u'\r' || c == u'\n')
                    break;
                *o++ = char(c);
            } else if (c < 0x800) {
                o[0] = char(0xC0 | (c >> 6));
                o[1] = char(0x80 | (c & 0x3F));
                o += 2;
            } else {
                o[0] = char(0xE0 | (c >> 12));
                o[1] = char(0x80 | ((c >> 6) & 0x3F));
                o[2] = char(0x80 | (c & 0x3F));
                o += 3;
            }
        }
        written = o - out;
        units += k;
        i += k;
        if (i >= size)
            break;
        const char16_t c = text[i];
        if (c == u'\r' || c == u'\n') {
            if (written + 1 > capacity)
                break;
            out[written++] = '\r';
            ++units;
            // CR LF in the text is one break like a lone CR or LF.
            i += (c == u'\r' && i + 1 < size && text[i + 1] == u'\n') ? 2 : 1;
            if (written < capacity) {
                out[written++] = '\n';
                ++units;
                ++breaks;
            } else {
                m_pendingLf = true;
                break;
            }
            continue;
        }
        // Near the end of the room: one unit at a time.
        if (written + encodedLength(c) > capacity)
            break;
        written += encodeUnit(c, out + written);
        ++units;
        ++i;
    }
    m_next = i;
    return written;
}

void decodeAppend(QByteArrayView bytes, QString &text)
{
    const qsizetype start = text.size();
    text.resize(start + bytes.size()); // never more units than bytes
    char16_t *out = reinterpret_cast<char16_t *>(text.data()) + start;
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype size = bytes.size();
    qsizetype i = 0;
    qsizetype n = 0;
    while (i < size) {
        if (i + 8 <= size) {
            quint64 eight;
            std::memcpy(&eight, p + i, sizeof eight);
            if (!(eight & kHighBits)) {
                for (int k = 0; k < 8; ++k)
                    out[n + k] = char16_t(p[i + k]);
                n += 8;
                i += 8;
                continue;
            }
        }
        const unsigned char b = p[i];
        if (b < 0x80) {
            out[n++] = b;
            ++i;
            continue;
        }
        if ((b & 0xC0) == 0x80) { // stray continuation: no unit of its own
            ++i;
            continue;
        }
        const int length = (b & 0xE0) == 0xC0 ? 2 : (b & 0xF0) == 0xE0 ? 3 : 0;
        bool whole = length > 0 && i + length <= size;
        for (int k = 1; whole && k < length; ++k)
            whole = (p[i + k] & 0xC0) == 0x80;
        if (!whole) {
            out[n++] = 0xFFFD;
            ++i;
            continue;
        }
        out[n++] = length == 2
            ? char16_t(((b & 0x1F) << 6) | (p[i + 1] & 0x3F))
            : char16_t(((b & 0x0F) << 12) | ((p[i + 1] & 0x3F) << 6) | (p[i + 2] & 0x3F));
        i += length;
    }
    text.resize(start + n);
}

qsizetype unitsIn(QByteArrayView bytes)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype size = bytes.size();
    FlagCount count;
    qsizetype i = 0;
    for (; i + 8 <= size; i += 8) {
        quint64 eight;
        std::memcpy(&eight, p + i, sizeof eight);
        count.add(continuationBytes(eight));
    }
    qsizetype continuations = count.total();
    for (; i < size; ++i)
        continuations += (p[i] & 0xC0) == 0x80;
    return size - continuations;
}

qsizetype byteOfUnit(QByteArrayView bytes, qsizetype unit)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype size = bytes.size();
    qsizetype i = 0;
    // Whole words of ASCII count eight units at once.
    while (unit >= 8 && i + 8 <= size) {
        quint64 eight;
        std::memcpy(&eight, p + i, sizeof eight);
        if (eight & kHighBits)
            break;
        i += 8;
        unit -= 8;
    }
    for (; i < size; ++i) {
        if ((p[i] & 0xC0) != 0x80) {
            if (unit == 0)
                return i;
            --unit;
        }
    }
    return size;
}

} // namespace UnitCoding
