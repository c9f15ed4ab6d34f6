#pragma once

#include "highlight/HighlightRules.h"

#include <QDialog>

#include <functional>
#include <vector>

class MessageBox;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QToolButton;

// The highlight rules dialog (設定 → 強調表示): the list of rules in their order and their own
// colours, and below it the fields of the rule selected: its word, whether case must match,
// whether the word or the whole line is coloured, and its text and background colours, each
// ticked on or off and chosen with the desktop's colour dialog. Buttons add, remove and move
// rules, and add the ready set (HighlightRules::withReadySet).
//
// Modeless, no owner window, deleted when closed. It edits a copy of the rules: OK hands the
// whole list to the apply action and closes; キャンセル and Escape drop it. OK refuses a rule
// without a word or without a colour, says so and selects it.
class frmHighlight : public QDialog
{
    Q_OBJECT

public:
    // The colour the user picks, starting from initial; invalid when the choice was cancelled.
    using ColourChooser
        = std::function<QColor(const QColor &initial, const QString &title, QWidget *parent)>;

    // apply takes the rules on OK. A null chooser means the desktop's colour dialog.
    frmHighlight(const HighlightRules &rules, std::function<void(const HighlightRules &)> apply,
                 MessageBox &messages, ColourChooser chooser = {}, QWidget *parent = nullptr);

private:
    void layOut();
    void lstRules_Change();
    void cmdAdd_Click();
    void cmdRemove_Click();
    void move(int step);
    void cmdReady_Click();
    void cmdOk_Click();
    // Writes a field's change into the rule selected.
    void fieldsChanged();
    void chooseColour(bool foreground);
    void refill(int select);
    void showRule(int row);
    int selected() const;

    std::vector<HighlightRule> m_rules;
    std::function<void(const HighlightRules &)> m_apply;
    MessageBox &m_messages;
    ColourChooser m_chooser;
    bool m_filling = false;

    QLabel *lblRules;
    QListWidget *lstRules;
    QLabel *lblWord;
    QLineEdit *txtWord;
    QCheckBox *chkCase;
    QRadioButton *optWord;
    QRadioButton *optLine;
    QCheckBox *chkFore;
    QToolButton *cmdFore;
    QCheckBox *chkBack;
    QToolButton *cmdBack;
    QPushButton *cmdOk;
    QPushButton *cmdCancel;
    QPushButton *cmdAdd;
    QPushButton *cmdRemove;
    QPushButton *cmdUp;
    QPushButton *cmdDown;
    QPushButton *cmdReady;
};
