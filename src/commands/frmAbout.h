#pragma once

#include <QDialog>

class QLabel;
class QPixmap;
class QPushButton;

// The about box: the program's icon, name and version. Modeless, no owner window; it deletes
// itself when closed. OK is both the default and the cancel button, so Enter and Escape close.
//
// Edge cases: the title is built afresh from fixed texts at every creation, so reopening never
// shows the version twice; an icon larger than 32 x 32 is scaled down, a null one leaves the
// picture empty.
class frmAbout : public QDialog
{
    Q_OBJECT

public:
    static constexpr char16_t kVersion[] = u"1.03";

    explicit frmAbout(const QPixmap &icon, QWidget *parent = nullptr);

private:
    void Form_Load();
    void cmdOk_Click();

    QPushButton *cmdOk;
    QLabel *picIcon;
    QLabel *lblDescription;
    QLabel *lblTitle;
};
