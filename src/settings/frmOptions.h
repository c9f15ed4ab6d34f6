#pragma once

#include "platform/ViewFonts.h"

#include <QDialog>
#include <QList>

#include <array>
#include <functional>

class IntervalSpinner;
class MessageBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class SettingsTarget;

// The options dialog: polling interval, encoding of the watched files, face and size of the
// log view's font. It is filled from the values in force when it is made; OK applies its
// values and saves the settings, キャンセル, Escape and the frame's close apply nothing.
// Modeless, no owner window; it deletes itself when closed.
//
// The font size is checked whenever the focus would leave its box for another control of the
// dialog (OK and キャンセル included) and when Enter chooses OK from the box: text that is not
// a number brings a message, the focus stays in the box and the click or key that would have
// moved it does nothing, so キャンセル too waits until the box is corrected. Escape and the
// frame's close still leave at once, applying nothing. Any number passes the check; the view
// decides what it takes.
//
// Edge cases: an interval outside 100 to 10000 is shown as it is and kept by OK unless the
// arrows moved it (they bring it into the range); an encoding other than 0 to 3 selects no
// option and is kept unless one is chosen; when the view's face is not in the list,
// nothing is selected, the size box is empty, and OK keeps the face and the size. A size the
// view refuses (zero, negative, too large) keeps the current size. The colour schemes are laid
// out hidden and none is ever selected, so OK leaves the view's colours alone. A failed save is
// reported; the applied values stay in force for the run.
class frmOptions : public QDialog
{
    Q_OBJECT

public:
    struct Actions
    {
        // Applies a colour scheme to the view.
        std::function<void(const qint32 &lngScreenColor)> SetScreenColor;
        // Stores the values now in force; false when the store could not be written.
        std::function<bool()> SaveSettings;
    };

    // values, messages and everything the actions reach must outlive the dialog. faces are the
    // screen's faces as tested; the list offers the fixed-pitch ones, sorted.
    frmOptions(SettingsTarget &values, Actions actions, MessageBox &messages,
               const QList<ViewFonts::Face> &faces = ViewFonts::screenFaces(),
               QWidget *parent = nullptr);

    // What the user is told when the settings could not be saved.
    static QString saveFailedMessage();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void layOut();
    void Form_Load(const QList<ViewFonts::Face> &faces);
    void updInterval_Change(int value);
    // True when the size may be left; otherwise shows the message and keeps the focus.
    bool txtFontSize_Validate();
    // True when the focus was kept in the box, which must then not hear of leaving it.
    bool txtFontSize_FocusOut(Qt::FocusReason reason);
    void cmdOk_Click();
    void cmdCancel_Click();
    void applyFontSize();
    void blockMouse(bool on);

    SettingsTarget &m_values;
    Actions m_actions;
    MessageBox &m_messages;
    // Set while the mouse press that tried to take the focus from a bad size is on its way.
    bool m_blockingMouse = false;

    IntervalSpinner *updInterval;
    QLabel *Label3;
    QLabel *lblInterval;
    QLabel *Label2;
    QPushButton *cmdOk;
    QPushButton *cmdCancel;
    QGroupBox *fraCode;
    std::array<QRadioButton *, 4> optCode;
    QComboBox *cboFont;
    QLineEdit *txtFontSize;
    QLabel *Label1;
    QLabel *Label4;
    std::array<QRadioButton *, 4> optColor;
    QLabel *Label5;
};
