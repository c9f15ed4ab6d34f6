#pragma once

#include "platform/ShiftJisDecoder.h"

#include <array>

// Table-driven decoder for Windows code page 932 that folds line ends in the same pass.
//
// Single bytes follow Windows: 0x5C and 0x7E stay ASCII, 0x80 -> U+0080, 0xA0 -> U+F8F0,
// 0xA1..0xDF half-width katakana, 0xFD..0xFF -> U+F8F1..U+F8F3. A lead byte followed by a byte
// that cannot be a trail byte, or by an ASCII byte with which it forms no character (0x85 0x41,
// 0xEB 0x40), becomes U+FFFD on its own and the next byte is decoded afresh, so "あERROR" read
// with the wrong character set keeps its "E". A pair of a lead and a non-ASCII trail byte with
// no character becomes one U+FFFD.
class Cp932Decoder : public ShiftJisDecoder
{
public:
    Cp932Decoder();
    DecodedText decode(QByteArrayView bytes, Tail tail) const override;
    qsizetype decodeForStore(QByteArrayView bytes, Tail tail,
                             QByteArray &storeBytes) const override;
    char16_t pair(unsigned char lead, unsigned char trail) const override;

    static bool isLeadByte(unsigned char b)
    {
        return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
    }
    static bool isTrailByte(unsigned char b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }

private:
    static constexpr int kTrailCount = 0xFD - 0x40;
    static constexpr int kLeadCount = (0xA0 - 0x81) + (0xFD - 0xE0);

    // The pair's character, or 0 where the table has none; both bytes must be in range.
    char16_t lookUp(unsigned char lead, unsigned char trail) const
    {
        const int row = lead <= 0x9F ? lead - 0x81 : lead - 0xE0 + (0xA0 - 0x81);
        return m_double[size_t(row * kTrailCount + (trail - 0x40))];
    }
    // Decodes the character at in[i] (a byte from 0x80 on) through out; see AsciiBytes.
    template<typename Writer>
    bool decodeCharacter(const unsigned char *in, qsizetype &i, qsizetype size, Writer &out,
                         Tail tail) const;

    std::array<char16_t, 256> m_single {};
    std::array<char16_t, kLeadCount * kTrailCount> m_double {};
};
