#pragma once

#include <QString>

class Clipboard;
class LogView;
class MessageBox;

// The edit menu's copy and clear commands on the log view.
//
// Edge cases: copying with nothing selected puts the empty text on the clipboard; the copied
// text carries the desktop's line ends (LF, which Qt turns into CR LF on Windows) whatever
// form the view keeps them in; a selection too large for the memory left is not copied: a
// message says so and the clipboard keeps what it held. Clearing answered with キャンセル leaves
// text, caret and selection alone. Clearing touches only the view: read positions, polling
// and grep stay.
class EditCommands
{
public:
    // All three must outlive the commands.
    EditCommands(LogView &view, Clipboard &clipboard, MessageBox &messages);

    void mnuCopy_Click();
    // Returns true when the user confirmed and the view was emptied.
    bool mnuClear_Click();

    // CR LF, a lone CR and the paragraph and line separators a rich-text selection uses
    // (U+2029, U+2028) all become LF.
    static QString toDesktopLineEnds(const QString &text);

private:
    LogView &m_view;
    Clipboard &m_clipboard;
    MessageBox &m_messages;
};
