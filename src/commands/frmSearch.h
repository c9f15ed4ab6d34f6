#pragma once

#include <QDialog>

#include <functional>

class LogView;
class MessageBox;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The find dialog: searches the log view from its selection and selects the next occurrence
// of the word ("次を検索", Enter, F3) or the previous one ("前を検索", Shift+F3). Modeless, no
// owner window; it deletes itself when closed, so the next opening starts with an empty word
// and an unticked box.
//
// Forwards, each hit leaves the match selected, so successive presses walk through
// non-overlapping occurrences from top to bottom; backwards, the match found ends at or before
// the selection's start, so they walk from bottom to top. When nothing follows (or precedes),
// the message tells whether the word was found before ("文字列を最後まで検索しました") or not at
// all since its text last changed ("文字列が見つかりません"); selection and focus then stay as
// they were.
//
// While the word is typed, the view shows every match of it in sight, and the dialog shows how
// many the view holds ("248 件"), counted by the view in later turns so that typing never
// waits for a long log. After a hit the dialog moves aside if it covers the match.
//
// Edge cases: never wraps round; an empty word finds nothing and counts nothing; text appended
// by a poll moves the caret to the end, so the next forward search reports that nothing
// follows.
class frmSearch : public QDialog
{
    Q_OBJECT

public:
    // The view and the message box must outlive the dialog.
    frmSearch(LogView &view, MessageBox &messages, QWidget *parent = nullptr);
    ~frmSearch() override;

    // Where the view's selection is on the screen, so that the dialog can keep off it.
    void setMatchLocator(std::function<QRect()> locator) { m_matchOnScreen = std::move(locator); }

    // The buttons, for F3 and Shift+F3 of the main window.
    void findNext() { cmdNext_Click(); }
    void findPrevious() { cmdPrev_Click(); }

private:
    void txtWord_Change();
    void cmdNext_Click();
    void cmdPrev_Click();
    void cmdCancel_Click();
    // Shows a hit, or tells that there is none.
    void found(std::optional<qsizetype> hit, qsizetype length);
    void showMatches();
    void moveAsideFromMatch();

    LogView &m_view;
    MessageBox &m_messages;
    std::function<QRect()> m_matchOnScreen;
    QLineEdit *txtWord;
    QCheckBox *chkUp; // ticked: case-sensitive
    QPushButton *cmdNext;
    QPushButton *cmdPrev;
    QPushButton *cmdCancel;
    QLabel *Label1;
    QLabel *lblCount;
    // True once the current word has been found; only picks the "nothing more" message.
    bool blnFound = false;
};
