#include "commands/EditCommands.h"

#include "platform/Clipboard.h"
#include "platform/DesktopLineEnds.h"
#include "platform/LogView.h"
#include "platform/MessageBox.h"

#include <new>

EditCommands::EditCommands(LogView &view, Clipboard &clipboard, MessageBox &messages)
    : m_view(view)
    , m_clipboard(clipboard)
    , m_messages(messages)
{
}

void EditCommands::mnuCopy_Click()
{
    // The view keeps days of log in little memory; the text of a selection of all of it may
    // not fit. The clipboard then keeps what it held, and the window goes on.
    try {
        m_clipboard.setText(toDesktopLineEnds(m_view.selectedText()));
    } catch (const std::bad_alloc &) {
        m_messages.inform(QStringLiteral("メモリが足りないため、コピーできませんでした"));
    }
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
    return ::toDesktopLineEnds(text);
}
