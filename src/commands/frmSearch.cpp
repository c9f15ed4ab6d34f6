#include "commands/frmSearch.h"

#include "commands/DialogLayout.h"
#include "platform/LogView.h"
#include "platform/MessageBox.h"
#include "status/StatusSummary.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

namespace {
constexpr int kGapToMatch = 8; // pixels between a moved dialog and the match
}

frmSearch::frmSearch(LogView &view, MessageBox &messages, QWidget *parent)
    : QDialog(parent)
    , m_view(view)
    , m_messages(messages)
    , txtWord(new QLineEdit(this))
    , chkUp(new QCheckBox(QStringLiteral("大文字と小文字を区別する"), this))
    , cmdNext(new QPushButton(QStringLiteral("次を検索"), this))
    , cmdPrev(new QPushButton(QStringLiteral("前を検索"), this))
    , cmdCancel(new QPushButton(QStringLiteral("キャンセル"), this))
    , Label1(new QLabel(QStringLiteral("検索する文字列"), this))
    , lblCount(new QLabel(this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("検索"));
    setObjectName(QStringLiteral("frmSearch"));
    txtWord->setObjectName(QStringLiteral("txtWord"));
    chkUp->setObjectName(QStringLiteral("chkUp"));
    cmdNext->setObjectName(QStringLiteral("cmdNext"));
    cmdPrev->setObjectName(QStringLiteral("cmdPrev"));
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    Label1->setObjectName(QStringLiteral("Label1"));
    lblCount->setObjectName(QStringLiteral("lblCount"));
    // Room for a long count from the start, so the dialog does not grow as it counts.
    lblCount->setMinimumWidth(
        lblCount->fontMetrics().horizontalAdvance(QStringLiteral("99,999,999 件（数えています）")));

    // The label, the word, the check box and the count stacked at the left, the buttons at
    // the right.
    DialogLayout::setMinimumTextWidth(txtWord, 13);
    DialogLayout::fieldsAndButtons(this, DialogLayout::column({Label1, txtWord, chkUp, lblCount}),
                                   {cmdNext, cmdPrev, cmdCancel});

    cmdNext->setDefault(true);
    setTabOrder(txtWord, chkUp);
    setTabOrder(chkUp, cmdNext);
    setTabOrder(cmdNext, cmdPrev);
    setTabOrder(cmdPrev, cmdCancel);
    txtWord->setFocus();

    // F3 and Shift+F3 here too, as in the main window.
    auto *next = new QAction(this);
    next->setShortcut(QKeySequence(Qt::Key_F3));
    auto *previous = new QAction(this);
    previous->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3));
    addActions({next, previous});
    connect(next, &QAction::triggered, this, &frmSearch::cmdNext_Click);
    connect(previous, &QAction::triggered, this, &frmSearch::cmdPrev_Click);

    connect(txtWord, &QLineEdit::textChanged, this, &frmSearch::txtWord_Change);
    connect(chkUp, &QCheckBox::toggled, this, &frmSearch::showMatches);
    connect(cmdNext, &QPushButton::clicked, this, &frmSearch::cmdNext_Click);
    connect(cmdPrev, &QPushButton::clicked, this, &frmSearch::cmdPrev_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmSearch::cmdCancel_Click);
}

frmSearch::~frmSearch()
{
    m_view.showMatches({}, Qt::CaseInsensitive, {});
}

void frmSearch::txtWord_Change()
{
    blnFound = false;
    showMatches();
}

void frmSearch::showMatches()
{
    const QString word = txtWord->text();
    lblCount->clear();
    m_view.showMatches(word, chkUp->isChecked() ? Qt::CaseSensitive : Qt::CaseInsensitive,
                       [this](qint64 count, bool complete) {
                           const QString number = StatusSummary::count(count);
                           lblCount->setText(complete
                                                 ? number + QStringLiteral(" 件")
                                                 : number + QStringLiteral(" 件（数えています）"));
                       });
}

void frmSearch::cmdNext_Click()
{
    const QString word = txtWord->text();
    // Start with the first character behind the selection, or at the caret.
    const qsizetype from = m_view.selectionStart() + m_view.selectionLength();
    found(m_view.find(word, from, chkUp->isChecked() ? Qt::CaseSensitive : Qt::CaseInsensitive),
          word.size());
}

void frmSearch::cmdPrev_Click()
{
    const QString word = txtWord->text();
    // End with the last character before the selection, or at the caret.
    found(m_view.findBackward(word, m_view.selectionStart(),
                              chkUp->isChecked() ? Qt::CaseSensitive : Qt::CaseInsensitive),
          word.size());
}

void frmSearch::found(std::optional<qsizetype> hit, qsizetype length)
{
    if (!hit) {
        m_messages.inform(blnFound ? QStringLiteral("文字列を最後まで検索しました")
                                   : QStringLiteral("文字列が見つかりません"));
        return;
    }
    // Focus first, so the selection shows as the active one.
    m_view.setFocus();
    m_view.select(*hit, length);
    blnFound = true;
    moveAsideFromMatch();
}

void frmSearch::moveAsideFromMatch()
{
    if (!m_matchOnScreen || !isVisible())
        return;
    const QRect match = m_matchOnScreen();
    const QRect frame = frameGeometry();
    if (match.isEmpty() || !frame.intersects(match))
        return;
    // Above the match where the screen has room, else below it.
    const QRect room = screen() ? screen()->availableGeometry() : QRect();
    QPoint to(frame.left(), match.top() - kGapToMatch - frame.height());
    if (room.isValid() && to.y() < room.top())
        to.setY(std::min(match.bottom() + 1 + kGapToMatch, room.bottom() + 1 - frame.height()));
    move(to);
}

// Escape and the frame's close arrive here too, through QDialog::reject.
void frmSearch::cmdCancel_Click()
{
    reject();
}
