#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
struct EngineState;

// The grep keyword dialog. Modeless, no owner window; it deletes itself when closed, so every
// opening starts again from the keyword in force.
//
// Edge cases: OK stores the text exactly as typed, blanks included, and accepts the empty text
// even while grep mode is on (grep mode itself is left alone); キャンセル, Escape and the
// window frame's close change nothing.
class frmKeyword : public QDialog
{
    Q_OBJECT

public:
    // The state must outlive the dialog.
    explicit frmKeyword(EngineState &state, QWidget *parent = nullptr);

private:
    void Form_Load();
    void cmdOk_Click();
    void cmdCancel_Click();

    EngineState &m_state;
    QLineEdit *txtKeyword;
    QPushButton *cmdOk;
    QLabel *Label2;
    QPushButton *cmdCancel;
};
