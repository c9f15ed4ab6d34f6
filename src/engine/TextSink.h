#pragma once

#include <QStringView>

// Where the reader hands the text it found in one chunk of a watched file.
class TextSink
{
public:
    virtual ~TextSink() = default;

    // text: decoded, never empty, CR as its only line end. Whole lines, each ending in CR,
    // possibly followed by the start of a line shown before its end (it waited too long or grew
    // too long), which has no CR after it. continuesLine: the text's first line continues such
    // a start shown earlier for the same slot.
    //
    // May throw std::bad_alloc; the reader then leaves the read position where it was.
    virtual void show(int slot, QStringView text, bool continuesLine) = 0;
};
