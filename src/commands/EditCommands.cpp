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
    copy(false);
}

void EditCommands::copyWithFileNames()
{
    copy(true);
}

void EditCommands::copy(bool withFileNames)
{
    // The clipboard is settled before the program ends, so the message box outlives it.
    MessageBox *messages = &m_messages;
    m_clipboard.offer(m_view.selectionForCopy(withFileNames), [messages] {
        messages->inform(QStringLiteral("メモリが足りないため、コピーできませんでした"));
    });
}

bool EditCommands::mnuClear_Click()
{
    const MessageBox::Answer answer
        = m_messages.ask(QStringLiteral("表示内容を消去します。よろしいですか？"));
    if (answer != MessageBox::Answer::Ok)
        return false;
    m_clipboard.settle();
    m_view.setText(QString());
    return true;
}
