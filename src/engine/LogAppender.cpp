#include "engine/LogAppender.h"

#include "engine/EngineState.h"
#include "engine/WatchedFileTable.h"
#include "platform/LogView.h"
#include "view/store/UnitCoding.h"

#include <new>

namespace {

constexpr QByteArrayView kCrLf("\r\n");

} // namespace

LogAppender::LogAppender(IncrementalReader &reader, const EngineState &state, LogView &view)
    : m_reader(reader)
    , m_state(state)
    , m_view(view)
{
}

bool LogAppender::readLog2(int lngIndex)
{
    Look look;
    for (;;) {
        switch (readLog2Chunk(lngIndex, look)) {
        case ReadStep::Done:
            return true;
        case ReadStep::Failed:
            return false;
        case ReadStep::More:
            break;
        }
    }
}

ReadStep LogAppender::readLog2Chunk(int lngIndex, Look &look)
{
    try {
        return m_reader.readNext(lngIndex, m_state.CharacterSet, look, *this);
    } catch (const std::bad_alloc &) {
        return ReadStep::Failed;
    }
}

void LogAppender::show(int slot, QByteArrayView text, bool continuesLine)
{
    // Even when grep mode then shows nothing, text arrived, so the view goes to its end.
    const qsizetype end = m_view.textLength();
    moveToEnd();

    // The user may have cleared the view since: then no line of it is open any more.
    const bool lineOpen = m_openLine && m_openLine->viewLength == end;
    const bool continuesOpenLine
        = lineOpen && continuesLine && m_openLine->slot == slot && !m_state.grepMode;
    if (continuesLine && !continuesOpenLine && text.startsWith(kCrLf))
        text = text.sliced(kCrLf.size()); // it would end a line that has been ended already
    const bool endsOpenLine = lineOpen && !continuesOpenLine;

    QByteArrayView output = text;
    if (m_state.grepMode || endsOpenLine) {
        m_output.resize(0);
        if (endsOpenLine)
            m_output += kCrLf;
        const qsizetype before = m_output.size();
        if (m_state.grepMode) {
            if (m_keyword != m_state.GrepKeyword) {
                m_encodedKeyword = UnitCoding::encoded(m_state.GrepKeyword);
                m_keyword = m_state.GrepKeyword;
            }
            grepLines(text, m_encodedKeyword, m_output);
        } else {
            m_output += text;
        }
        output = m_output.size() > before ? QByteArrayView(m_output) : QByteArrayView();
    }
    if (output.isEmpty())
        return;
    const quint16 origin = m_reader.table().originOfSlot(slot);
    if (m_state.following)
        m_view.insertEncodedAtCaret(output, origin);
    else
        m_view.appendEncodedKeepingPlace(output, origin);
    if (output.endsWith(kCrLf))
        m_openLine.reset();
    else
        m_openLine = OpenLine {slot, m_view.textLength()};
}

void LogAppender::moveToEnd()
{
    const qsizetype end = m_view.textLength();
    if (m_state.following && m_view.caret() < end)
        m_view.setCaret(end);
}

void LogAppender::grepLines(QByteArrayView text, QByteArrayView keyword, QByteArray &out)
{
    if (keyword.isEmpty() || keyword.contains('\r') || keyword.contains('\n'))
        return;
    qsizetype from = 0;
    while (from < text.size()) {
        const qsizetype hit = text.indexOf(keyword, from);
        if (hit < 0)
            return;
        // The line around the hit: from behind the LF before it (no further back than the end
        // of the line before, from - 1) to the CR LF after it, or to the end of an unfinished
        // last line.
        const qsizetype start = hit > 0 ? text.lastIndexOf('\n', hit - 1) + 1 : 0;
        qsizetype stop = text.indexOf('\r', hit + keyword.size());
        if (stop < 0)
            stop = text.size();
        out += text.sliced(start, stop - start);
        out += kCrLf;
        from = stop + kCrLf.size();
    }
}
