#pragma once

#include <QDialog>

#include <functional>

class QLabel;
class QListView;
class QPushButton;
class WatchedFileTable;

// The watched-file list dialog. Its list shows the watched-file table itself: every add and
// remove takes effect at once, and there is nothing to undo. OK refreshes the main window's
// caption and hides the dialog.
//
// Modeless, no owner window, made hidden on first use and only ever hidden: the main window
// keeps it until it closes itself, and then deletes it rather than closing it, since a close
// refreshes the caption of a window on its way out.
//
// Edge cases: 削除 with no entry selected does nothing, and after a removal nothing is selected;
// Enter acts as OK even while the list has the focus; Escape does nothing, there is no cancel;
// closing through the window frame hides the dialog and refreshes the caption just as OK does, so
// the caption never lags behind a list the user has finished editing.
class frmFileList : public QDialog
{
    Q_OBJECT

public:
    struct Actions
    {
        // Asks for a file, registers it and places its read position at its end.
        std::function<void()> addFile;
        // Drops the entry at the given list position.
        std::function<void(int lngIndex)> removeFile;
        // Rebuilds the main window's caption from the list.
        std::function<void()> setCaption;
    };

    // The table must outlive the dialog.
    frmFileList(WatchedFileTable &table, Actions actions, QWidget *parent = nullptr);

    // There is no cancel: Escape, and anything else that would reject, does nothing.
    void reject() override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void cmdAdd_Click();
    void cmdRemove_Click();
    void cmdOk_Click();

    Actions m_actions;
    QListView *lstFile;
    QPushButton *cmdAdd;
    QPushButton *cmdRemove;
    QPushButton *cmdOk;
    QLabel *Label2;
};
