#pragma once

#include <QByteArray>

#include <optional>
#include <utility>

namespace Module1 {

struct SjisBytes
{
    QByteArray bytes;
    // Input bytes converted. Less than the input's size only when it ends inside a character
    // (the writer has written just its first byte): those stay for the next read.
    qsizetype consumed = 0;
};

// The Shift_JIS pair of the EUC-JP pair (b1, b2), by arithmetic on the JIS X 0208 row and cell.
// For valid pairs (both bytes 0xA1..0xFE) the lead lands in 0x81..0x9F or 0xE0..0xEF and the
// trail in 0x40..0xFC without 0x7F; other bytes go through the same steps. b2 must be 0x80 or
// more.
constexpr std::pair<unsigned char, unsigned char> jisPairToSjis(unsigned char b1, unsigned char b2)
{
    const int h = b1 - 0x80;
    const int l = b2 - 0x80;
    int hs = (h % 2 == 1) ? (h + 1) / 2 + 0x70 : h / 2 + 0x70;
    int ls = (h % 2 == 1) ? l + 0x1F : l + 0x7D;
    if (hs >= 0xA0)
        hs += 0x40;
    if (ls >= 0x7F)
        ls += 1;
    return {static_cast<unsigned char>(hs), static_cast<unsigned char>(ls)};
}

// Converts EUC-JP to Shift_JIS by arithmetic on the JIS X 0208 row and cell, without tables.
// Bytes outside the valid ranges go through the same arithmetic; 0x8F (JIS X 0212) is not
// recognised and is taken as the first byte of a two-byte character.
//
// The conversion runs in place (the output is never longer than the input).
//
// Fails (nullopt) when a byte that starts a two-byte character is followed by a byte below
// 0x80. A character cut off at the very end of the input is not a failure: it is left
// unconsumed.
//
// The reading path does not go through here: EucJpDecoder applies the same arithmetic
// character by character and turns what is no EUC-JP character into U+FFFD instead of failing.
std::optional<SjisBytes> convertEucToSjis(QByteArray input);

} // namespace Module1
