#include "engine/EucJpDecoder.h"

#include "engine/EucToSjis.h"
#include "platform/AsciiBytes.h"
#include "platform/ShiftJisDecoder.h"

namespace {

constexpr char16_t kReplacement = 0xFFFD;

bool isJisByte(unsigned char b)
{
    return b >= 0xA1 && b <= 0xFE;
}

// How many bytes the character starting with lead b needs.
int characterLength(unsigned char b)
{
    if (b == 0x8F)
        return 3;
    return (b == 0x8E || isJisByte(b)) ? 2 : 1;
}

} // namespace

EucJpDecoder::EucJpDecoder(const ShiftJisDecoder &sjis)
    : m_sjis(sjis)
{
}

template<typename Writer>
bool EucJpDecoder::decodeCharacter(const unsigned char *in, qsizetype &i, qsizetype size,
                                   Writer &out, Tail tail) const
{
    const unsigned char b = in[i];
    const int length = characterLength(b);
    // The bytes after the lead that are there and could still belong to its character.
    int valid = 1;
    while (valid < length && i + valid < size && isJisByte(in[i + valid]))
        ++valid;
    if (valid < length && i + valid >= size && tail == Tail::KeepIncomplete)
        return false; // the writer has not written the rest of the character yet
    if (b == 0x8E && valid == 2 && in[i + 1] > 0xDF) {
        // A katakana byte is narrower than a JIS byte: 0x8E 0xE0 is damage too, and the 0xE0
        // may begin a character of its own.
        out.unit(kReplacement);
        ++i;
        return true;
    }
    if (valid < length) {
        // What began a character and is cut short is one U+FFFD, however many of its bytes
        // were there (0x8F 0xA1 before a line end), as in the other sets.
        out.unit(kReplacement);
        i += valid;
        return true;
    }
    if (b == 0x8E) {
        out.unit(char16_t(0xFF61 + (in[i + 1] - 0xA1)));
    } else if (b == 0x8F || length == 1) {
        out.unit(kReplacement);
    } else {
        const auto [lead, trail] = Module1::jisPairToSjis(b, in[i + 1]);
        out.unit(m_sjis.pair(lead, trail));
    }
    i += length;
    return true;
}

DecodedText EucJpDecoder::decode(QByteArrayView bytes, Tail tail) const
{
    return AsciiBytes::decode(
        bytes, [this, tail](const unsigned char *in, qsizetype &i, qsizetype size, auto &out) {
            return decodeCharacter(in, i, size, out, tail);
        });
}

qsizetype EucJpDecoder::decodeForStore(QByteArrayView bytes, Tail tail,
                                       QByteArray &storeBytes) const
{
    return AsciiBytes::decodeForStore(
        bytes, storeBytes,
        [this, tail](const unsigned char *in, qsizetype &i, qsizetype size, auto &out) {
            return decodeCharacter(in, i, size, out, tail);
        });
}
