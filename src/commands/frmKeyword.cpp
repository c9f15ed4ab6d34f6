#include "commands/frmKeyword.h"

#include "commands/DialogLayout.h"
#include "engine/EngineState.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

frmKeyword::frmKeyword(EngineState &state, QWidget *parent)
    : QDialog(parent)
    , m_state(state)
    , txtKeyword(new QLineEdit(this))
    , cmdOk(new QPushButton(QStringLiteral("OK"), this))
    , Label2(new QLabel(QStringLiteral("検索文字列"), this))
    , cmdCancel(new QPushButton(QStringLiteral("キャンセル"), this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("grep文字列指定"));
    setObjectName(QStringLiteral("frmKeyword"));
    txtKeyword->setObjectName(QStringLiteral("txtKeyword"));
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    Label2->setObjectName(QStringLiteral("Label2"));
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));

    // The label over the text box at the left, OK and キャンセル stacked at the right.
    DialogLayout::setMinimumTextWidth(txtKeyword, 13);
    DialogLayout::fieldsAndButtons(this, DialogLayout::column({Label2, txtKeyword}),
                                   {cmdOk, cmdCancel});

    cmdOk->setDefault(true);
    setTabOrder(txtKeyword, cmdOk);
    setTabOrder(cmdOk, cmdCancel);
    txtKeyword->setFocus();

    connect(cmdOk, &QPushButton::clicked, this, &frmKeyword::cmdOk_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmKeyword::cmdCancel_Click);

    Form_Load();
}

void frmKeyword::Form_Load()
{
    txtKeyword->setText(m_state.GrepKeyword);
}

void frmKeyword::cmdOk_Click()
{
    m_state.GrepKeyword = txtKeyword->text();
    accept();
}

// Escape and the frame's close arrive here too, through QDialog::reject.
void frmKeyword::cmdCancel_Click()
{
    reject();
}
