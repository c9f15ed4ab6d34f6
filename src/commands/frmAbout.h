#pragma once

#include <QDialog>
#include <QIcon>

class QLabel;
class QPushButton;

// The about box: the program's icon, name and version. Modeless, no owner window; it deletes
// itself when closed. OK is both the default and the cancel button, so Enter and Escape close.
//
// Edge cases: the title is built afresh from fixed texts at every creation, so reopening never
// shows the version twice; the icon is drawn 32 pixels square at the screen's scale, and a
// null icon leaves the picture empty.
class frmAbout : public QDialog
{
    Q_OBJECT

public:
    explicit frmAbout(const QIcon &icon, QWidget *parent = nullptr);

private:
    void Form_Load();
    void cmdOk_Click();

    QPushButton *cmdOk;
    QLabel *picIcon;
    QLabel *lblDescription;
    QLabel *lblTitle;
};
