#pragma once

#include <QtGlobal>

#include <cstring>

// The part of decoding that every character set of the program shares: bytes below 0x80 are
// ASCII, and CR LF, lone LF and lone CR all become one CR. Callers advance i and out.
namespace AsciiBytes {

// Most of a log line is printable ASCII: copies it eight bytes at a time while no byte of a
// word has its high bit set or lies below 0x20 (line ends, NUL and other controls).
inline void copyPrintable(const unsigned char *in, qsizetype &i, qsizetype size, char16_t *&out)
{
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

// Decodes the byte at in[i], which must lie below 0x80.
inline void decodeOne(const unsigned char *in, qsizetype &i, qsizetype size, char16_t *&out)
{
    const unsigned char b = in[i];
    if (b == '\r') {
        *out++ = u'\r';
        i += (i + 1 < size && in[i + 1] == '\n') ? 2 : 1;
        return;
    }
    *out++ = b == '\n' ? u'\r' : char16_t(b);
    ++i;
}

} // namespace AsciiBytes
