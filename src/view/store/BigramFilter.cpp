#include "view/store/BigramFilter.h"

#include <QtEndian>

#include <algorithm>
#include <bit>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr qsizetype kChunk = 4096;

// Bytes with their ASCII letters in lower case, sixteen at a time where SSE2 is there.
void lowerInto(const unsigned char *from, qsizetype size, unsigned char *to)
{
    qsizetype i = 0;
#if defined(__SSE2__)
    const __m128i beforeA = _mm_set1_epi8('A' - 1);
    const __m128i afterZ = _mm_set1_epi8('Z' + 1);
    const __m128i caseBit = _mm_set1_epi8(0x20);
    for (; i + 16 <= size; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(from + i));
        // Signed compares: bytes from 0x80 up are negative, so never taken for letters.
        const __m128i letter = _mm_and_si128(_mm_cmpgt_epi8(v, beforeA), _mm_cmplt_epi8(v, afterZ));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(to + i),
                         _mm_or_si128(v, _mm_and_si128(letter, caseBit)));
    }
#endif
    for (; i < size; ++i)
        to[i] = BigramFilter::lowered(from[i]);
}

} // namespace

void BigramFilter::add(QByteArrayView bytes)
{
    if (bytes.size() < 2)
        return;
    // Every pair marked in a map of all 65,536 (one store a byte, each pair read as the two
    // bytes it is), then each pair present hashed once: a block holds a few thousand.
    std::vector<unsigned char> seen(65536);
    unsigned char lower[kChunk + 1];
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    for (qsizetype at = 0; at + 1 < bytes.size(); at += kChunk) {
        // Each chunk takes the first byte of the next, for the pair across their edge.
        const qsizetype length = std::min(kChunk + 1, bytes.size() - at);
        lowerInto(p + at, length, lower);
        for (qsizetype i = 0; i + 1 < length; ++i)
            seen[qFromLittleEndian<quint16>(lower + i)] = 1;
    }
    for (unsigned pair = 0; pair < seen.size(); ++pair) {
        if (seen[pair]) {
            const unsigned bit = slot(quint16(pair));
            m_bits[bit / 64] |= quint64(1) << (bit % 64);
        }
    }
}

int BigramFilter::missing(const std::vector<quint16> &pairs) const
{
    int count = 0;
    for (const quint16 p : pairs)
        count += mayHold(p) ? 0 : 1;
    return count;
}
