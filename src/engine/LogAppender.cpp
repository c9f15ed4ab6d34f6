#include "engine/LogAppender.h"

#include "engine/EngineState.h"
#include "engine/IncrementalReader.h"
#include "platform/LogView.h"

namespace {
const QString kCrLf = QStringLiteral("\r\n");
}

LogAppender::LogAppender(IncrementalReader &reader, const EngineState &state, LogView &view)
    : m_reader(reader)
    , m_state(state)
    , m_view(view)
{
}

bool LogAppender::readLog2(int lngIndex)
{
    // The reader stores the new read position itself; inserting cannot fail, so storing it
    // before the insertion below comes to the same.
    const std::optional<QString> newText = m_reader.readNew(lngIndex, m_state.CharacterSet);
    if (!newText)
        return false;
    if (newText->isEmpty())
        return true;

    // Even when grep mode then shows nothing, text arrived, so the view goes to its end.
    const qsizetype end = m_view.textLength();
    if (m_view.caret() < end)
        m_view.setCaret(end);

    const QString output = textForView(*newText, m_state.grepMode, m_state.GrepKeyword);
    if (!output.isEmpty())
        m_view.insertAtCaret(output);
    return true;
}

QString LogAppender::textForView(const QString &newText, bool grepMode, const QString &keyword)
{
    if (!grepMode) {
        QString text = newText;
        return text.replace(QLatin1Char('\r'), kCrLf);
    }
    QString output;
    if (keyword.isEmpty())
        return output;
    // Pieces are tested in place; only the matching ones are copied into the output.
    const QStringView text(newText);
    qsizetype start = 0;
    while (start <= text.size()) {
        qsizetype end = text.indexOf(QLatin1Char('\r'), start);
        if (end < 0)
            end = text.size();
        const QStringView piece = text.sliced(start, end - start);
        if (!piece.isEmpty() && piece.contains(keyword, Qt::CaseSensitive))
            output += piece % kCrLf;
        start = end + 1;
    }
    return output;
}
