#pragma once

#include "view/store/StoreTypes.h"

#include <algorithm>
#include <functional>

// Read access to a log's text, by offset and by line: what the view, its selection, copy and
// the accessibility interface are built on. The store implements it; tests put a fake with a
// billion lines behind the same calls.
//
// Units and numbering are those of StoreTypes.h. Every line but the last ends with CR LF,
// which belongs to it; the last line has none (it is empty when the text ends with a break).
class TextSource
{
public:
    virtual ~TextSource() = default;

    // Units in the text.
    virtual qint64 size() const = 0;
    // Lines in the text: breaks plus one, so an empty text has one (empty) line.
    virtual qint64 lineCount() const = 0;
    // The offset where a line begins; 0 for lines before the first, size() past the last.
    virtual StoreOffset lineStart(LineNo line) const = 0;
    // The line an offset falls in; offsets are clamped to [0, size()]. An offset between a
    // CR and its LF belongs to the line the break ends.
    virtual LineNo lineOf(StoreOffset offset) const = 0;
    // Up to maxUnits units from offset (clamped to the text), fewer at the end of the text.
    virtual ReadResult read(StoreOffset offset, qint64 maxUnits) const = 0;
    // Where a line came from (a number the program gives meaning to), 0 when unknown.
    virtual quint16 originOf(LineNo) const { return 0; }
    // Calls visit(first line, origin) for each run of lines of one origin that covers part of
    // [from, to], in order, the first starting at from.
    virtual void forEachOriginRun(LineNo from, LineNo,
                                  const std::function<void(LineNo, quint16)> &visit) const
    {
        visit(from, 0);
    }
    // At least the UTF-8 size of the text in [from, to): what the store keeps for it, with the
    // blocks at both ends whole.
    virtual qint64 bytesAtMost(StoreOffset from, StoreOffset to) const
    {
        return 3 * std::max<qint64>(0, to - from);
    }

    // Built on the calls above.
    // Lines that hold text: an empty last line (after a final break, or of an empty text) is
    // only where the next line will go, and does not count.
    qint64 textLines() const
    {
        const LineNo last(lineCount() - 1);
        return lineStart(last).value == size() ? last.value : last.value + 1;
    }
    // Where the line's text ends: before its CR LF, or at size() for the last line.
    StoreOffset lineEnd(LineNo line) const
    {
        if (line.value + 1 >= lineCount())
            return StoreOffset(size());
        return lineStart(line + 1) - 2;
    }
};
