#pragma once

#include "engine/IncrementalReader.h"
#include "engine/TextSink.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

class LogView;
struct EngineState;

// Shows what the reader finds for the watched files at the end of the log view.
//
// New text always goes to the very end: a caret or selection the user left elsewhere is
// dropped first, but a read that brings nothing leaves caret, selection and scrolling alone.
// Each chunk the reader hands over becomes one insertion, in the store's byte form as the reader
// decoded it (LogView::insertEncodedAtCaret). With following off (EngineState::following) the
// text still goes to the end, but caret, selection and scrolling stay where the user left them.
//
// Every line is marked with the origin of the entry it was read through (LineSources), so the
// view can tell which file each line came from.
//
// The reader hands over whole lines only, except a line that waited too long for its end or
// grew too long, which it hands over as far as it has been written. Such an open line stays
// open at the end of the view while nothing else is shown, and what follows for the same file
// continues it. Text of any other file (or a file that starts afresh) first ends it with a
// line break, and the rest of the line then shows as a line of its own; a lone line end that
// would only end the already ended line shows nothing. Grep mode never leaves a line open.
//
// Grep mode tests every line on its own for the keyword, exactly, unit by unit (case and width
// count); an empty keyword, or one holding a line end, shows nothing. Filtered lines are
// consumed all the same: the read position moves past them and they are never shown later,
// not even when grep mode is switched off.
//
// Memory exhaustion while reading or showing ends the chunk as a failed read (std::bad_alloc
// never leaves here); the read position then stays before the chunk.
class LogAppender : public TextSink
{
public:
    LogAppender(IncrementalReader &reader, const EngineState &state, LogView &view);

    // Reads entry lngIndex to the end of one look and shows its new text. False when a read
    // failed: what was shown before the failing chunk stays, and the read position is behind it.
    bool readLog2(int lngIndex);
    // One chunk of a look; see IncrementalReader::readNext.
    ReadStep readLog2Chunk(int lngIndex, Look &look);

    void show(int slot, QByteArrayView text, bool continuesLine) override;

    // Brings the view's caret to the end of its text, unless following is off.
    void moveToEnd();

    // Appends to out the lines of text (the store's bytes, CR LF ending each line but maybe the
    // last) that hold keyword (in the same form), each with CR LF after it. The coding keeps
    // every unit's bytes apart from every other's, so a match of the bytes is a match of the
    // units; a keyword that is empty or holds a CR or an LF matches nothing.
    static void grepLines(QByteArrayView text, QByteArrayView keyword, QByteArray &out);

private:
    IncrementalReader &m_reader;
    const EngineState &m_state;
    LogView &m_view;
    // The grep keyword in the store's form, made again when the keyword changes.
    QString m_keyword;
    QByteArray m_encodedKeyword;
    QByteArray m_output; // what is inserted when it is not the reader's text as it stands

    // A line left open at the end of the view: whose it is and the view's length behind it.
    struct OpenLine
    {
        int slot;
        qsizetype viewLength;
    };
    std::optional<OpenLine> m_openLine;
};
