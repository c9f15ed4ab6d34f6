#pragma once

#include <QByteArray>

#include <optional>

namespace Module1 {

struct SjisBytes
{
    QByteArray bytes;
    // Input bytes converted. Less than the input's size only when it ends inside a character
    // (the writer has written just its first byte): those stay for the next read.
    qsizetype consumed = 0;
};

// Converts EUC-JP to Shift_JIS by arithmetic on the JIS X 0208 row and cell, without tables.
// Bytes outside the valid ranges go through the same arithmetic; 0x8F (JIS X 0212) is not
// recognised and is taken as the first byte of a two-byte character.
//
// The conversion runs in place (the output is never longer than the input), so a caller that
// moves its buffer in converts a flood without a second copy.
//
// Fails (nullopt) when a byte that starts a two-byte character is followed by a byte below
// 0x80. A character cut off at the very end of the input is not a failure: it is left
// unconsumed.
std::optional<SjisBytes> convertEucToSjis(QByteArray input);

} // namespace Module1
