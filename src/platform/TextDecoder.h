#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Text decoded from bytes of a log, with every line end folded to a single CR.
struct DecodedText
{
    QString text;
    // Bytes taken from the input. Less than its size only when the input ends inside a
    // multi-byte character and more input may follow: those bytes are left for the next read.
    qsizetype consumed = 0;
};

// Decodes the bytes of one character set and folds line ends in the same pass: CR LF and lone
// LF become CR, lone CR stays CR. decodeForStore() is the same decoding written straight into the
// log store's byte form (UnitCoding.h) with CR LF as the line end: what the reader hands on, made
// in one pass without the text in between; decode() gives the same characters as text.
//
// Damage stays where it is: a byte sequence that is no character becomes U+FFFD, and a byte
// below 0x80 is never taken into a multi-byte character, so the line end or ASCII text after a
// broken character survives. Because of that, every CR and LF byte of the input is a line end
// of the text, and cutting the input just behind one (or where a KeepIncomplete decode stopped)
// decodes to the same text as the whole; only a CR LF pair cut in two is the caller's to join.
class TextDecoder
{
public:
    enum class Tail {
        KeepIncomplete, // a character cut off at the very end is left unconsumed
        DecodeAll, // everything is decoded; a cut-off character becomes U+FFFD
    };

    virtual ~TextDecoder() = default;
    virtual DecodedText decode(QByteArrayView bytes, Tail tail) const = 0;
    // Appends the store's bytes of the text decode() gives, each CR there as CR LF, to
    // storeBytes, and returns the bytes consumed, as decode() counts them. storeBytes keeps its
    // capacity: handed the same buffer each time, it is allocated once (it may take up to three
    // times the input's size while decoding).
    virtual qsizetype decodeForStore(QByteArrayView bytes, Tail tail,
                                     QByteArray &storeBytes) const = 0;
};
