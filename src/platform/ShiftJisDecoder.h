#pragma once

#include <QByteArrayView>
#include <QString>

// Text decoded from one read, with every line end folded to a single CR.
struct DecodedText
{
    QString text;
    // Bytes taken from the input. Less than its size only when the input ends inside a
    // two-byte character and more input may follow: those bytes are left for the next read.
    qsizetype consumed = 0;
};

// Decodes Shift_JIS (Windows code page 932) and folds line ends in the same pass:
// CR LF and lone LF become CR, lone CR stays CR.
class ShiftJisDecoder
{
public:
    enum class Tail {
        KeepIncomplete, // a lead byte at the very end is left unconsumed
        DecodeAll, // everything is decoded; an orphan lead byte becomes U+FFFD
    };

    virtual ~ShiftJisDecoder() = default;
    virtual DecodedText decode(QByteArrayView bytes, Tail tail) const = 0;
};
