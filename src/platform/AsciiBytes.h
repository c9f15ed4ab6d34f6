#pragma once

#include "platform/TextDecoder.h"

#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// The part of decoding that every character set of the program shares: bytes below 0x80 are
// ASCII, and CR LF, lone LF and lone CR all become one CR.
namespace AsciiBytes {

// Most of a log line is printable ASCII: copies it sixteen bytes at a time (eight without
// SSE2) while no byte lies below 0x20 (line ends, NUL and other controls) or has its high bit
// set, and then the printable bytes that open the block that stopped it. The output must have
// room for as many units as there are input bytes from i on.
inline void copyPrintable(const unsigned char *in, qsizetype &i, qsizetype size, char16_t *&out)
{
#if defined(__SSE2__)
    const __m128i space = _mm_set1_epi8(0x20);
    const __m128i zero = _mm_setzero_si128();
    while (i + 16 <= size) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(in + i));
        // A signed comparison: bytes from 0x80 on are negative, so it finds them too.
        const unsigned stop = unsigned(_mm_movemask_epi8(_mm_cmplt_epi8(bytes, space)));
        // Between the characters of a multi-byte run this is called for nothing: it must be
        // cheap then.
        if (stop & 1)
            return;
        _mm_storeu_si128(reinterpret_cast<__m128i *>(out), _mm_unpacklo_epi8(bytes, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(out + 8), _mm_unpackhi_epi8(bytes, zero));
        if (stop) {
            const int printable = std::countr_zero(stop);
            out += printable;
            i += printable;
            return;
        }
        out += 16;
        i += 16;
    }
#endif
    while (i + 8 <= size) {
        quint64 word;
        std::memcpy(&word, in + i, 8);
        constexpr quint64 kHigh = 0x8080808080808080ULL;
        const quint64 control = (word - 0x2020202020202020ULL) & ~word & kHigh;
        if ((word & kHigh) | control)
            return;
        for (int k = 0; k < 8; ++k)
            out[k] = char16_t(in[i + k]);
        out += 8;
        i += 8;
    }
}

// The decoding loop of a character set whose bytes below 0x80 are ASCII. For a byte from 0x80
// on, decodeCharacter(in, i, size, out) decodes the character that starts at in[i] (and any
// that follow it, if it likes), advancing i and out (each byte may give at most one UTF-16
// unit), or returns false to stop there: the character is cut off at the end and is left for
// more input.
template<typename DecodeCharacter>
DecodedText decode(QByteArrayView bytes, DecodeCharacter decodeCharacter)
{
    const auto *in = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype size = bytes.size();

    DecodedText result;
    result.text.resize(size);
    auto *out = reinterpret_cast<char16_t *>(result.text.data());
    char16_t *const begin = out;

    qsizetype i = 0;
    while (i < size) {
        copyPrintable(in, i, size, out);
        if (i >= size)
            break;
        const unsigned char b = in[i];
        if (b >= 0x80) {
            if (!decodeCharacter(in, i, size, out))
                break;
        } else if (b == '\r') {
            *out++ = u'\r';
            i += (i + 1 < size && in[i + 1] == '\n') ? 2 : 1;
        } else {
            *out++ = b == '\n' ? u'\r' : char16_t(b);
            ++i;
        }
    }
    result.text.truncate(out - begin);
    result.consumed = i;
    return result;
}

} // namespace AsciiBytes
