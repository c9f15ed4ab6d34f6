#include "files/frmFileList.h"

#include "commands/DialogLayout.h"
#include "engine/WatchedFileTable.h"

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

    lstFile->setModel(&table);
    lstFile->setSelectionMode(QAbstractItemView::SingleSelection);
    lstFile->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // A label grown to fit its text slides under the list, not over it.
    Label2->lower();

    DialogLayout::setClientSize(this, 4680, 3195);
    DialogLayout::place(lstFile, 60, 300, 4575, 2400);
    DialogLayout::place(cmdAdd, 1320, 2880, 1035, 315);
    DialogLayout::place(cmdRemove, 2400, 2880, 1035, 315);
    DialogLayout::place(cmdOk, 3600, 2880, 1035, 315);
    DialogLayout::placeText(Label2, 120, 60, 1215, 195);

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
