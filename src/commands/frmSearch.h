#pragma once

#include <QDialog>

class LogView;
class MessageBox;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The find dialog: searches the log view forward from the end of its selection and selects
// the next occurrence of the word. Modeless, no owner window; it deletes itself when closed,
// so the next opening starts with an empty word and an unticked box.
//
// Each hit leaves the match selected, so successive presses walk through non-overlapping
// occurrences from top to bottom. When nothing follows, the message tells whether the word
// was found before ("文字列を最後まで検索しました") or not at all since its text last changed
// ("文字列が見つかりません"); selection and focus then stay as they were.
//
// Edge cases: never wraps round; an empty word finds nothing; text appended by a poll moves
// the caret to the end, so the next search reports that nothing follows.
class frmSearch : public QDialog
{
    Q_OBJECT

public:
    // The view and the message box must outlive the dialog.
    frmSearch(LogView &view, MessageBox &messages, QWidget *parent = nullptr);

private:
    void txtWord_Change();
    void cmdNext_Click();
    void cmdCancel_Click();

    LogView &m_view;
    MessageBox &m_messages;
    QLineEdit *txtWord;
    QCheckBox *chkUp; // ticked: case-sensitive
    QPushButton *cmdNext;
    QPushButton *cmdCancel;
    QLabel *Label1;
    // True once the current word has been found; only picks the "nothing more" message.
    bool blnFound = false;
};
