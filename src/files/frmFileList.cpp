#include "files/frmFileList.h"

#include "commands/DialogLayout.h"
#include "engine/WatchedFileTable.h"
#include "files/OriginBadges.h"

#include <QBoxLayout>
#include <QCloseEvent>
#include <QLabel>
#include <QListView>
#include <QPushButton>

frmFileList::frmFileList(WatchedFileTable &table, Actions actions, QWidget *parent)
    : QDialog(parent)
    , m_actions(std::move(actions))
    , lstFile(new QListView(this))
    , cmdAdd(new QPushButton(QStringLiteral("追加"), this))
    , cmdRemove(new QPushButton(QStringLiteral("削除"), this))
    , cmdOk(new QPushButton(QStringLiteral("OK"), this))
    , Label2(new QLabel(QStringLiteral("ファイル一覧"), this))
{
    setWindowTitle(QStringLiteral("監視ファイル指定"));
    setObjectName(QStringLiteral("frmFileList"));
    lstFile->setObjectName(QStringLiteral("lstFile"));
    cmdAdd->setObjectName(QStringLiteral("cmdAdd"));
    cmdRemove->setObjectName(QStringLiteral("cmdRemove"));
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    Label2->setObjectName(QStringLiteral("Label2"));

    // Each entry wears the colour and number its lines carry in the log view.
    auto *badges = new OriginBadges(lstFile->fontMetrics().height(), this);
    badges->setSourceModel(&table);
    lstFile->setModel(badges);
    lstFile->setIconSize(QSize(lstFile->fontMetrics().height(), lstFile->fontMetrics().height()));
    lstFile->setSelectionMode(QAbstractItemView::SingleSelection);
    lstFile->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // The label over the list, the three buttons in a row under it at the right. The list
    // holds paths, so it is made wide enough for a usual one and tall enough for all eleven
    // entries; a longer path scrolls sideways.
    DialogLayout::setMinimumTextWidth(lstFile, 22);
    lstFile->setMinimumHeight(lstFile->fontMetrics().height() * 11);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton *button : {cmdAdd, cmdRemove, cmdOk})
        buttons->addWidget(button);
    auto *layout = new QVBoxLayout;
    layout->addWidget(Label2);
    layout->addWidget(lstFile);
    layout->addLayout(buttons);
    DialogLayout::fixToContent(this, layout);

    // The list ignores Enter, which then reaches the dialog and its default button.
    cmdOk->setDefault(true);
    setTabOrder(lstFile, cmdAdd);
    setTabOrder(cmdAdd, cmdRemove);
    setTabOrder(cmdRemove, cmdOk);
    lstFile->setFocus();

    connect(cmdAdd, &QPushButton::clicked, this, &frmFileList::cmdAdd_Click);
    connect(cmdRemove, &QPushButton::clicked, this, &frmFileList::cmdRemove_Click);
    connect(cmdOk, &QPushButton::clicked, this, &frmFileList::cmdOk_Click);
}

void frmFileList::reject() { }

void frmFileList::closeEvent(QCloseEvent *event)
{
    if (isVisible() && m_actions.setCaption)
        m_actions.setCaption();
    event->accept();
}

void frmFileList::cmdAdd_Click()
{
    if (m_actions.addFile)
        m_actions.addFile();
}

void frmFileList::cmdRemove_Click()
{
    const QModelIndexList selected = lstFile->selectionModel()->selectedRows();
    if (selected.isEmpty() || !m_actions.removeFile)
        return;
    m_actions.removeFile(selected.first().row());
    // The view selects a neighbour of a removed row on its own; a second press (or a
    // double click) must not drop an entry the user never chose, so nothing stays selected.
    lstFile->selectionModel()->clearSelection();
}

void frmFileList::cmdOk_Click()
{
    if (m_actions.setCaption)
        m_actions.setCaption();
    hide();
}
