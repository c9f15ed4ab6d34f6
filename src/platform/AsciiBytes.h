#pragma once

#include "platform/TextDecoder.h"

#include <cstring>

// The part of decoding that every character set of the program shares: bytes below 0x80 are
// ASCII, and CR LF, lone LF and lone CR all become one CR.
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

// The decoding loop of a character set whose bytes below 0x80 are ASCII. For a byte from 0x80
// on, decodeCharacter(in, i, size, out) decodes the character that starts at in[i], advancing
// i and out (each byte may give at most one UTF-16 unit), or returns false to stop there: the
// character is cut off at the end and is left for more input.
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
        if (b == '\r') {
            *out++ = u'\r';
            i += (i + 1 < size && in[i + 1] == '\n') ? 2 : 1;
        } else if (b < 0x80) {
            *out++ = b == '\n' ? u'\r' : char16_t(b);
            ++i;
        } else if (!decodeCharacter(in, i, size, out)) {
            break;
        }
    }
    result.text.truncate(out - begin);
    result.consumed = i;
    return result;
}

} // namespace AsciiBytes
