#pragma once

#include "platform/TextDecoder.h"
#include "view/store/UnitCoding.h"

#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// The part of decoding that every character set of the program shares: bytes below 0x80 are
// ASCII, and CR LF, lone LF and lone CR all become one line end.
//
// One decoding loop writes either of the two forms text takes here (a writer below): UTF-16
// with CR as its line end (DecodedText), or the log store's bytes with CR LF (UnitCoding.h), so
// the store's form is made in the same pass as the decoding, and both forms always agree.
namespace AsciiBytes {

// UTF-16 units, CR as the line end. Room: one unit per input byte.
struct Utf16Writer
{
    char16_t *out;

    void unit(char16_t c) { *out++ = c; }
    void lineEnd() { *out++ = u'\r'; }
    // A complete, valid UTF-8 sequence of n bytes (1 to 3) whose character is c.
    void utf8(const unsigned char *, int, char16_t c) { *out++ = c; }
    // Eight printable ASCII bytes, written; advance() then takes as many as were printable.
    void eight(const unsigned char *in)
    {
        for (int k = 0; k < 8; ++k)
            out[k] = char16_t(in[k]);
    }
#if defined(__SSE2__)
    void sixteen(__m128i bytes)
    {
        const __m128i zero = _mm_setzero_si128();
        _mm_storeu_si128(reinterpret_cast<__m128i *>(out), _mm_unpacklo_epi8(bytes, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(out + 8), _mm_unpackhi_epi8(bytes, zero));
    }
#endif
    void advance(qsizetype n)
    {
        out += n;
    }
};

// The store's bytes, CR LF as the line end. Room: three bytes per input byte, as no step of
// any decoder writes more (a lone byte that becomes U+FFFD or a half-width katakana: three; a
// four-byte UTF-8 character: two surrogates of three; a lone CR or LF: two).
struct StoreWriter
{
    static constexpr qsizetype kBytesPerInputByte = 3;
    char *out;

    void unit(char16_t c) { out += UnitCoding::encodeUnit(c, out); }
    void lineEnd()
    {
        out[0] = '\r';
        out[1] = '\n';
        out += 2;
    }
    // Below U+10000 the store's form of a character is its UTF-8: the bytes pass as they are.
    void utf8(const unsigned char *in, int n, char16_t)
    {
        std::memcpy(out, in, size_t(n));
        out += n;
    }
    void eight(const unsigned char *in) { std::memcpy(out, in, 8); }
#if defined(__SSE2__)
    void sixteen(__m128i bytes)
    {
        _mm_storeu_si128(reinterpret_cast<__m128i *>(out), bytes);
    }
#endif
    void advance(qsizetype n)
    {
        out += n;
    }
};

// Most of a log line is printable ASCII: copies it sixteen bytes at a time (eight without
// SSE2) while no byte lies below 0x20 (line ends, NUL and other controls) or has its high bit
// set, and then the printable bytes that open the block that stopped it.
template<typename Writer>
inline void copyPrintable(const unsigned char *in, qsizetype &i, qsizetype size, Writer &out)
{
#if defined(__SSE2__)
    const __m128i space = _mm_set1_epi8(0x20);
    while (i + 16 <= size) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(in + i));
        // A signed comparison: bytes from 0x80 on are negative, so it finds them too.
        const unsigned stop = unsigned(_mm_movemask_epi8(_mm_cmplt_epi8(bytes, space)));
        // Between the characters of a multi-byte run this is called for nothing: it must be
        // cheap then.
        if (stop & 1)
            return;
        out.sixteen(bytes);
        if (stop) {
            const int printable = std::countr_zero(stop);
            out.advance(printable);
            i += printable;
            return;
        }
        out.advance(16);
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
        out.eight(in + i);
        out.advance(8);
        i += 8;
    }
}

// The decoding loop of a character set whose bytes below 0x80 are ASCII, into out (one of the
// writers above, with its room). For a byte from 0x80 on, decodeCharacter(in, i, size, out)
// decodes the character that starts at in[i] (and any that follow it, if it likes), advancing
// i and writing through out, or returns false to stop there: the character is cut off at the
// end and is left for more input. Returns the bytes consumed.
template<typename Writer, typename DecodeCharacter>
qsizetype decodeWith(QByteArrayView bytes, Writer &out, DecodeCharacter decodeCharacter)
{
    const auto *in = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype size = bytes.size();
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
            out.lineEnd();
            i += (i + 1 < size && in[i + 1] == '\n') ? 2 : 1;
        } else if (b == '\n') {
            out.lineEnd();
            ++i;
        } else {
            out.unit(char16_t(b));
            ++i;
        }
    }
    return i;
}

// Decodes into UTF-16 text.
template<typename DecodeCharacter>
DecodedText decode(QByteArrayView bytes, DecodeCharacter decodeCharacter)
{
    DecodedText result;
    result.text.resize(bytes.size());
    auto *const begin = reinterpret_cast<char16_t *>(result.text.data());
    Utf16Writer out {begin};
    result.consumed = decodeWith(bytes, out, decodeCharacter);
    result.text.truncate(out.out - begin);
    return result;
}

// Decodes into the store's bytes, appended to storeBytes (whose capacity is kept, so a buffer
// used again for every chunk is allocated once).
template<typename DecodeCharacter>
qsizetype decodeForStore(QByteArrayView bytes, QByteArray &storeBytes,
                         DecodeCharacter decodeCharacter)
{
    const qsizetype start = storeBytes.size();
    const qsizetype room = start + StoreWriter::kBytesPerInputByte * bytes.size();
    storeBytes.reserve(room); // just that: resize() alone would round the capacity up
    storeBytes.resize(room);
    StoreWriter out {storeBytes.data() + start};
    const qsizetype consumed = decodeWith(bytes, out, decodeCharacter);
    storeBytes.resize(out.out - storeBytes.constData());
    return consumed;
}

} // namespace AsciiBytes
