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

DecodedText EucJpDecoder::decode(QByteArrayView bytes, Tail tail) const
{
    const auto *in = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype size = bytes.size();

    DecodedText result;
    result.text.resize(size); // each byte gives at most one UTF-16 unit
    auto *out = reinterpret_cast<char16_t *>(result.text.data());
    char16_t *const begin = out;

    qsizetype i = 0;
    while (i < size) {
        AsciiBytes::copyPrintable(in, i, size, out);
        if (i >= size)
            break;
        const unsigned char b = in[i];
        if (b < 0x80) {
            AsciiBytes::decodeOne(in, i, size, out);
            continue;
        }
        const int length = characterLength(b);
        // The bytes after the lead that are there and could still belong to its character.
        int valid = 1;
        while (valid < length && i + valid < size && isJisByte(in[i + valid]))
            ++valid;
        if (valid < length && i + valid >= size && tail == Tail::KeepIncomplete)
            break; // the writer has not written the rest of the character yet
        if (valid < length) {
            // A katakana byte is narrower than a JIS byte: 0x8E 0xE0 fails here too.
            *out++ = kReplacement;
            ++i;
            continue;
        }
        if (b == 0x8E) {
            const unsigned char kana = in[i + 1];
            if (kana > 0xDF) {
                *out++ = kReplacement;
                ++i;
                continue;
            }
            *out++ = char16_t(0xFF61 + (kana - 0xA1));
        } else if (b == 0x8F) {
            *out++ = kReplacement;
        } else if (length == 1) {
            *out++ = kReplacement;
        } else {
            const auto [lead, trail] = Module1::jisPairToSjis(b, in[i + 1]);
            *out++ = m_sjis.pair(lead, trail);
        }
        i += length;
    }
    result.text.truncate(out - begin);
    result.consumed = i;
    return result;
}
