#include "engine/LogAppender.h"

#include "engine/EngineState.h"
#include "engine/WatchedFileTable.h"
#include "platform/LogView.h"

#include <new>

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// CR becomes CR LF in one pass over the text.
QString withCrLf(QStringView text)
{
    QString output(text.size() + text.count(u'\r'), Qt::Uninitialized);
    QChar *out = output.data();
    for (const QChar c : text) {
        *out++ = c;
        if (c == u'\r')
            *out++ = u'\n';
    }
    return output;
}

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

void LogAppender::show(int slot, QStringView text, bool continuesLine)
{
    // Even when grep mode then shows nothing, text arrived, so the view goes to its end.
    const qsizetype end = m_view.textLength();
    moveToEnd();

    // The user may have cleared the view since: then no line of it is open any more.
    const bool lineOpen = m_openLine && m_openLine->viewLength == end;
    const bool continuesOpenLine
        = lineOpen && continuesLine && m_openLine->slot == slot && !m_state.grepMode;
    if (continuesLine && !continuesOpenLine && text.startsWith(u'\r'))
        text = text.sliced(1); // it would end a line that has been ended already
    QString output = textForView(text, m_state.grepMode, m_state.GrepKeyword);
    if (output.isEmpty())
        return;
    if (lineOpen && !continuesOpenLine)
        output.prepend(kCrLf);
    const quint16 origin = m_reader.table().originOfSlot(slot);
    if (m_state.following)
        m_view.insertAtCaret(output, origin);
    else
        m_view.appendKeepingPlace(output, origin);
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

QString LogAppender::textForView(QStringView newText, bool grepMode, const QString &keyword)
{
    if (!grepMode)
        return withCrLf(newText);
    QString output;
    if (keyword.isEmpty())
        return output;
    // Pieces are tested in place; only the matching ones are copied into the output.
    qsizetype start = 0;
    while (start < newText.size()) {
        qsizetype end = newText.indexOf(u'\r', start);
        if (end < 0)
            end = newText.size();
        const QStringView piece = newText.sliced(start, end - start);
        if (!piece.isEmpty() && piece.contains(keyword, Qt::CaseSensitive))
            output += piece % kCrLf;
        start = end + 1;
    }
    return output;
}
