#pragma once

#include <QByteArrayView>

// Where the reader hands the text it found in one chunk of a watched file.
class TextSink
{
public:
    virtual ~TextSink() = default;

    // text: decoded, never empty, in the log store's byte form (view/store/UnitCoding.h) with
    // CR LF as its only line end: no other CR or LF is in it. Whole lines, each ending in CR LF,
    // possibly followed by the start of a line shown before its end (it waited too long or grew
    // too long), which has no CR LF after it. continuesLine: the text's first line continues such
    // a start shown earlier for the same slot. The bytes lie in the reader's buffer and hold for
    // the call only.
    //
    // May throw std::bad_alloc; the reader then leaves the read position where it was.
    virtual void show(int slot, QByteArrayView text, bool continuesLine) = 0;
};
