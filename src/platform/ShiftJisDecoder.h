#pragma once

#include "platform/TextDecoder.h"

// Shift_JIS (Windows code page 932), the character set every decoding of the program rests on:
// EUC-JP is decoded by turning its characters into Shift_JIS pairs.
class ShiftJisDecoder : public TextDecoder
{
public:
    // The character of one two-byte sequence, or U+FFFD where code page 932 has none or the
    // bytes cannot form a pair.
    virtual char16_t pair(unsigned char lead, unsigned char trail) const = 0;
};
