#include "commands/frmSearch.h"

#include "commands/DialogLayout.h"
#include "platform/LogView.h"
#include "platform/MessageBox.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

frmSearch::frmSearch(LogView &view, MessageBox &messages, QWidget *parent)
    : QDialog(parent)
    , m_view(view)
    , m_messages(messages)
    , txtWord(new QLineEdit(this))
    , chkUp(new QCheckBox(QStringLiteral("大文字と小文字を区別する"), this))
    , cmdNext(new QPushButton(QStringLiteral("次を検索"), this))
    , cmdCancel(new QPushButton(QStringLiteral("キャンセル"), this))
    , Label1(new QLabel(QStringLiteral("検索する文字列"), this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("検索"));
    setObjectName(QStringLiteral("frmSearch"));
    txtWord->setObjectName(QStringLiteral("txtWord"));
    chkUp->setObjectName(QStringLiteral("chkUp"));
    cmdNext->setObjectName(QStringLiteral("cmdNext"));
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    Label1->setObjectName(QStringLiteral("Label1"));

    // The label, the word and the check box stacked at the left, the buttons at the right.
    DialogLayout::setMinimumTextWidth(txtWord, 13);
    DialogLayout::fieldsAndButtons(this, DialogLayout::column({Label1, txtWord, chkUp}),
                                   {cmdNext, cmdCancel});

    cmdNext->setDefault(true);
    setTabOrder(txtWord, chkUp);
    setTabOrder(chkUp, cmdNext);
    setTabOrder(cmdNext, cmdCancel);
    txtWord->setFocus();

    connect(txtWord, &QLineEdit::textChanged, this, &frmSearch::txtWord_Change);
    connect(cmdNext, &QPushButton::clicked, this, &frmSearch::cmdNext_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmSearch::cmdCancel_Click);
}

void frmSearch::txtWord_Change()
{
    blnFound = false;
}

void frmSearch::cmdNext_Click()
{
    const QString word = txtWord->text();
    const Qt::CaseSensitivity sensitivity
        = chkUp->isChecked() ? Qt::CaseSensitive : Qt::CaseInsensitive;
    // Start with the first character behind the selection, or at the caret.
    const qsizetype from = m_view.selectionStart() + m_view.selectionLength();

    const std::optional<qsizetype> hit = m_view.find(word, from, sensitivity);
    if (!hit) {
        m_messages.inform(blnFound ? QStringLiteral("文字列を最後まで検索しました")
                                   : QStringLiteral("文字列が見つかりません"));
        return;
    }
    // Focus first, so the selection shows as the active one.
    m_view.setFocus();
    m_view.select(*hit, word.size());
    blnFound = true;
}

// Escape and the frame's close arrive here too, through QDialog::reject.
void frmSearch::cmdCancel_Click()
{
    reject();
}
