#pragma once

#include "platform/TextDecoder.h"

// Decodes UTF-8 and folds line ends in the same pass.
//
// A character beyond the Basic Multilingual Plane (four bytes) becomes a surrogate pair; every
// other character one UTF-16 unit. Damage follows the Unicode "maximal subpart" practice
// (WHATWG's too): a lead byte and the continuation bytes that may follow it become one U+FFFD,
// and the byte that breaks the sequence is decoded afresh, so an ASCII byte (a line end) is
// never taken into a broken character. Overlong forms (C0, C1, E0 80..9F, F0 80..8F), UTF-16
// surrogates (ED A0..BF), code points past U+10FFFF (F4 90.., F5..FF) and stray continuation
// bytes are damage: "\xED\xA0\x80" is three U+FFFD, "\xE3\x81A" is U+FFFD and "A".
//
// A byte order mark is decoded as U+FEFF like any character: dropping the one at the start of
// a file is the reader's business, which knows where the file starts.
// With Tail::KeepIncomplete a sequence that is valid so far but cut off by the end of the
// input is left unconsumed; with Tail::DecodeAll it becomes one U+FFFD.
//
// For the store, valid text is validated and copied: below U+10000 a character's UTF-8 is its
// store form; only a four-byte character is written as its two surrogates' forms.
class Utf8Decoder : public TextDecoder
{
public:
    DecodedText decode(QByteArrayView bytes, Tail tail) const override;
    qsizetype decodeForStore(QByteArrayView bytes, Tail tail,
                             QByteArray &storeBytes) const override;
};
