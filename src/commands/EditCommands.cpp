#include "commands/EditCommands.h"

#include "platform/Clipboard.h"
#include "platform/LogView.h"
#include "platform/MessageBox.h"

EditCommands::EditCommands(LogView &view, Clipboard &clipboard, MessageBox &messages)
    : m_view(view)
    , m_clipboard(clipboard)
    , m_messages(messages)
{
}

void EditCommands::mnuCopy_Click()
{
    m_clipboard.setText(toDesktopLineEnds(m_view.selectedText()));
}

bool EditCommands::mnuClear_Click()
{
    const MessageBox::Answer answer
        = m_messages.ask(QStringLiteral("表示内容を消去します。よろしいですか？"));
    if (answer != MessageBox::Answer::Ok)
        return false;
    m_view.setText(QString());
    return true;
}

QString EditCommands::toDesktopLineEnds(const QString &text)
{
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        switch (c.unicode()) {
        case u'\r':
            if (i + 1 < text.size() && text.at(i + 1) == u'\n')
                ++i;
            result.append(u'\n');
            break;
        case QChar::ParagraphSeparator:
        case QChar::LineSeparator:
            result.append(u'\n');
            break;
        default:
            result.append(c);
        }
    }
    return result;
}
