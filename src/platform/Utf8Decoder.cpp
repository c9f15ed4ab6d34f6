#include "platform/Utf8Decoder.h"

#include "platform/AsciiBytes.h"

#include <array>
#include <bit>
#include <cstring>

namespace {

constexpr char16_t kReplacement = 0xFFFD;

// What a byte from 0x80 on starts: the length of its sequence (0: it starts none) and the
// range its second byte must lie in, which is where overlong forms, surrogates and code
// points past U+10FFFF are refused. Every later byte is 0x80..0xBF.
struct Lead
{
    unsigned char length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
};

constexpr std::array<Lead, 256> makeLeads()
{
    std::array<Lead, 256> leads {};
    for (int b = 0xC2; b <= 0xDF; ++b)
        leads[b].length = 2;
    for (int b = 0xE0; b <= 0xEF; ++b)
        leads[b].length = 3;
    for (int b = 0xF0; b <= 0xF4; ++b)
        leads[b].length = 4;
    leads[0xE0].low = 0xA0;
    leads[0xED].high = 0x9F;
    leads[0xF0].low = 0x90;
    leads[0xF4].high = 0x8F;
    return leads;
}

constexpr std::array<Lead, 256> kLeads = makeLeads();

bool isContinuation(unsigned char b)
{
    return (b & 0xC0) == 0x80;
}

// The character of a three-byte sequence whose bytes are the word's lowest three, lowest
// first; the bytes must have been checked to have the form 1110xxxx 10xxxxxx 10xxxxxx.
char16_t threeByteCharacter(quint32 word)
{
    return char16_t(((word & 0x0F) << 12) | ((word & 0x3F00) >> 2) | ((word >> 16) & 0x3F));
}

// Neither overlong (below U+0800) nor a surrogate: those go the careful way.
bool isPlainThreeByte(char16_t c)
{
    return c >= 0x800 && (c & 0xF800) != 0xD800;
}

// Decodes the run of non-ASCII characters at in[i] through out; see AsciiBytes.
template<typename Writer>
bool decodeRun(const unsigned char *in, qsizetype &i, qsizetype size, Writer &out,
               TextDecoder::Tail tail)
{
    // Japanese text is mostly runs of three-byte characters, taken first without a table.
    do {
        // Four bytes looked at, three taken: the lead's top four bits and both continuations'
        // top two tested at once, on the bytes in memory order.
        while (std::endian::native == std::endian::little && i + 4 <= size) {
            quint32 word;
            std::memcpy(&word, in + i, 4);
            const char16_t c = threeByteCharacter(word);
            if ((word & 0x00C0C0F0u) != 0x008080E0u || !isPlainThreeByte(c))
                break;
            out.utf8(in + i, 3, c);
            i += 3;
        }
        if (i >= size || in[i] < 0x80)
            break;
        const unsigned char b = in[i];
        const Lead lead = kLeads[b];
        const qsizetype left = size - i;
        if (lead.length == 0) {
            out.unit(kReplacement);
            ++i;
            continue;
        }
        // How many bytes of the sequence are there and valid: the maximal subpart.
        qsizetype valid = 1;
        if (valid < left && in[i + 1] >= lead.low && in[i + 1] <= lead.high) {
            ++valid;
            while (valid < lead.length && valid < left && isContinuation(in[i + valid]))
                ++valid;
        }
        if (valid < lead.length) {
            if (valid == left && tail == TextDecoder::Tail::KeepIncomplete)
                return false; // the writer has not written the rest yet
            out.unit(kReplacement);
            i += valid;
            continue;
        }
        if (lead.length == 2) {
            out.utf8(in + i, 2, char16_t(((b & 0x1F) << 6) | (in[i + 1] & 0x3F)));
        } else if (lead.length == 3) {
            out.utf8(in + i, 3,
                     char16_t(((b & 0x0F) << 12) | ((in[i + 1] & 0x3F) << 6) | (in[i + 2] & 0x3F)));
        } else {
            const char32_t c = ((b & 0x07) << 18) | ((in[i + 1] & 0x3F) << 12)
                | ((in[i + 2] & 0x3F) << 6) | (in[i + 3] & 0x3F);
            out.unit(char16_t(0xD800 + ((c - 0x10000) >> 10)));
            out.unit(char16_t(0xDC00 + (c & 0x3FF)));
        }
        i += lead.length;
    } while (i < size && in[i] >= 0x80);
    return true;
}

} // namespace

DecodedText Utf8Decoder::decode(QByteArrayView bytes, Tail tail) const
{
    return AsciiBytes::decode(bytes,
                              [tail](const unsigned char *in, qsizetype &i, qsizetype size,
                                     auto &out) { return decodeRun(in, i, size, out, tail); });
}

qsizetype Utf8Decoder::decodeForStore(QByteArrayView bytes, Tail tail, QByteArray &storeBytes) const
{
    return AsciiBytes::decodeForStore(
        bytes, storeBytes,
        [tail](const unsigned char *in, qsizetype &i, qsizetype size, auto &out) {
            return decodeRun(in, i, size, out, tail);
        });
}
