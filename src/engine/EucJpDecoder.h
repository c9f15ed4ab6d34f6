#pragma once

#include "platform/TextDecoder.h"

class ShiftJisDecoder;

// Decodes EUC-JP and folds line ends in the same pass. Each JIS X 0208 pair is turned into its
// Shift_JIS pair by the converter's arithmetic (Module1::jisPairToSjis) and looked up in code
// page 932, so a character reads the same in both character sets.
//
// What is no EUC-JP character is text damage, shown as U+FFFD, never a failure, and it never
// takes a following ASCII byte with it:
// - a byte 0xA1..0xFE not followed by one of 0xA1..0xFE: U+FFFD, the next byte decoded afresh;
// - 0x8E not followed by a half-width katakana byte 0xA1..0xDF: likewise;
// - 0x8F and two bytes 0xA1..0xFE (JIS X 0212, which code page 932 cannot show): one U+FFFD;
//   0x8F followed by anything else: U+FFFD for it alone;
// - 0x80..0xA0 other than 0x8E and 0x8F, and 0xFF: U+FFFD each.
// A valid pair without a code page 932 character (the user-defined rows from 0xF5 on) is U+FFFD.
// With Tail::KeepIncomplete a character whose remaining bytes may still come is left
// unconsumed at the end; with Tail::DecodeAll it becomes U+FFFD.
class EucJpDecoder : public TextDecoder
{
public:
    explicit EucJpDecoder(const ShiftJisDecoder &sjis);
    DecodedText decode(QByteArrayView bytes, Tail tail) const override;
    qsizetype decodeForStore(QByteArrayView bytes, Tail tail,
                             QByteArray &storeBytes) const override;

private:
    // Decodes the character at in[i] (a byte from 0x80 on) through out; see AsciiBytes.
    template<typename Writer>
    bool decodeCharacter(const unsigned char *in, qsizetype &i, qsizetype size, Writer &out,
                         Tail tail) const;

    const ShiftJisDecoder &m_sjis;
};
