#pragma once

#include <QString>

class Clipboard;
class LogView;
class MessageBox;

// The edit menu's copy and clear commands on the log view, and the view's copy with file
// names.
//
// Copying puts an offer on the clipboard: the text is made when a program pastes it, in
// pieces, with the desktop's line ends (LF), so a copy of days of log keeps the window
// answering and takes the memory of its text once, when it is needed. Copying with nothing
// selected puts the empty text there. A text too large for the memory left is not made: a
// message says so and the paste gets nothing.
//
// Clearing answered with キャンセル leaves text, caret and selection alone. Confirmed, it first
// makes the text of a copy of this view still on the clipboard, which the cleared view could
// no longer give, then empties the view; read positions, polling and grep stay.
class EditCommands
{
public:
    // All three must outlive the commands.
    EditCommands(LogView &view, Clipboard &clipboard, MessageBox &messages);

    void mnuCopy_Click();
    void copyWithFileNames();
    // Returns true when the user confirmed and the view was emptied.
    bool mnuClear_Click();

private:
    void copy(bool withFileNames);

    LogView &m_view;
    Clipboard &m_clipboard;
    MessageBox &m_messages;
};
