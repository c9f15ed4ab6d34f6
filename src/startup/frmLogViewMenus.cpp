#include "startup/frmLogView.h"

#include "commands/EditCommands.h"
#include "commands/GrepCommands.h"
#include "commands/frmAbout.h"
#include "commands/frmKeyword.h"
#include "commands/frmSearch.h"
#include "engine/PollingCycle.h"
#include "engine/WakeOnChange.h"
#include "files/frmFileList.h"
#include "highlight/frmHighlight.h"
#include "platform/MessageBox.h"
#include "settings/WatchSettings.h"
#include "settings/frmOptions.h"
#include "startup/MenuCaptions.h"
#include "status/MonitorStatusBar.h"
#include "view/LogScrollView.h"
#include "view/StoreLogView.h"

#include <QMenuBar>
#include <QScrollBar>

// The main window's menus, their commands and the status bar that shows what they set: each
// command hands the work to the subsystem that does it.

void frmLogView::buildMenus()
{
    QMenuBar *bar = menuBar();
    auto add = [this](QMenu *menu, const char *caption, void (frmLogView::*handler)()) {
        QAction *action = menu->addAction(QString::fromUtf8(caption));
        connect(action, &QAction::triggered, this, handler);
        return action;
    };

    QMenu *mnuFile = bar->addMenu(QStringLiteral("ファイル(&F)"));
    add(mnuFile, "監視ファイル指定(&C)", &frmLogView::mnuChange_Click);
    mnuFile->addSeparator();
    add(mnuFile, "終了(&X)", &frmLogView::mnuExit_Click);

    QMenu *mnuEdit = bar->addMenu(QStringLiteral("編集(&E)"));
    add(mnuEdit, "コピー(&C)", &frmLogView::mnuCopy_Click);
    add(mnuEdit, "表示内容の消去(&D)", &frmLogView::mnuClear_Click);
    add(mnuEdit, "検索(&F)", &frmLogView::mnuSearch_Click)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    add(mnuEdit, "次を検索(&N)", &frmLogView::mnuSearchNext_Click)
        ->setShortcut(QKeySequence(Qt::Key_F3));
    add(mnuEdit, "前を検索(&P)", &frmLogView::mnuSearchPrevious_Click)
        ->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3));

    mnuSetup = bar->addMenu(QStringLiteral("設定(&S)"));
    connect(mnuSetup, &QMenu::aboutToShow, this, &frmLogView::mnuSetup_Click);
    mnuEnable = add(mnuSetup, "ファイルを監視する(&M)", &frmLogView::mnuEnable_Click);
    mnuEnable->setCheckable(true);
    mnuEnable->setChecked(true);
    mnuFollow = add(mnuSetup, "末尾に追従(&T)", &frmLogView::mnuFollow_Click);
    mnuFollow->setCheckable(true);
    mnuFollow->setChecked(m_state.following);
    mnuWake = add(mnuSetup, "変更をすぐに表示(&R)", &frmLogView::mnuWake_Click);
    mnuWake->setCheckable(true);
    add(mnuSetup, "オプション(&O)", &frmLogView::mnuOption_Click);
    add(mnuSetup, "強調表示(&H)...", &frmLogView::mnuHighlight_Click);
    mnuSetup->addSeparator();
    mnuGrep = add(mnuSetup, "grepモード(&G)", &frmLogView::mnuGrep_Click);
    mnuGrep->setCheckable(true);
    add(mnuSetup, "grep文字列設定(&K)", &frmLogView::mnuKeyword_Click);

    QMenu *mnuHelp = bar->addMenu(QStringLiteral("ヘルプ(&H)"));
    add(mnuHelp, "Pivexについて(&A)", &frmLogView::mnuAbout_Click);

    MenuCaptions::keepWhole(bar);
}

void frmLogView::buildStatusBar()
{
    m_status = new MonitorStatusBar(this);
    setStatusBar(m_status);
    connect(m_status, &MonitorStatusBar::monitoringClicked, this, &frmLogView::mnuEnable_Click);
    connect(m_status, &MonitorStatusBar::newLinesClicked, this,
            [this] { m_view->setCaret(m_view->textLength()); });
    // Text arriving and scrolling change the counts many times a second under a busy log: the
    // bar follows them at most every kStatusGapMs, in one refresh for all that came meanwhile.
    // What the user switches shows at once.
    m_statusTimer.setSingleShot(true);
    connect(&m_statusTimer, &QTimer::timeout, this, &frmLogView::refreshStatus);
    const auto countsChanged = [this] {
        if (!m_statusTimer.isActive())
            m_statusTimer.start(int(std::max<qint64>(0, kStatusGapMs - m_sinceStatus.elapsed())));
    };
    LogScrollView *view = m_view->widget();
    connect(view, &LogScrollView::contentsChanged, this, countsChanged);
    // Scrolling down to the new lines counts them as seen.
    connect(view->verticalScrollBar(), &QScrollBar::valueChanged, this, countsChanged);
    refreshStatus();
}

void frmLogView::refreshStatus()
{
    const LogScrollView *view = m_view->widget();
    if (!m_status)
        return;
    m_statusTimer.stop();
    m_sinceStatus.start();
    StatusFacts facts;
    facts.monitoring = m_polling->isMonitoringChecked();
    facts.grepMode = m_state.grepMode;
    facts.keyword = m_state.GrepKeyword;
    facts.lines = m_view->store().textLines();
    facts.following = m_state.following;
    if (!facts.following && view) {
        const ViewLayout &layout = view->viewLayout();
        facts.newLines = StatusSummary::newLinesBelow(
            facts.lines - 1, layout.topLine().value + layout.fullLines() - 1, m_followMark);
    }
    m_status->showFacts(facts);
}

void frmLogView::mnuChange_Click()
{
    m_fileListDialog.show();
}

void frmLogView::mnuExit_Click()
{
    close();
}

void frmLogView::mnuCopy_Click()
{
    m_edit->mnuCopy_Click();
}

void frmLogView::mnuClear_Click()
{
    // The line where following stopped is gone with the text; what comes now is all new.
    if (m_edit->mnuClear_Click() && !m_state.following)
        m_followMark = -1;
    refreshStatus();
}

void frmLogView::mnuSearch_Click()
{
    m_searchDialog.show();
}

// F3 and Shift+F3 search again with the find dialog's word; without the dialog they open it.
void frmLogView::mnuSearchNext_Click()
{
    frmSearch *dialog = m_searchDialog.current();
    if (dialog && dialog->isVisible())
        dialog->findNext();
    else
        mnuSearch_Click();
}

void frmLogView::mnuSearchPrevious_Click()
{
    frmSearch *dialog = m_searchDialog.current();
    if (dialog && dialog->isVisible())
        dialog->findPrevious();
    else
        mnuSearch_Click();
}

void frmLogView::mnuHighlight_Click()
{
    m_highlightDialog.show();
}

void frmLogView::mnuSetup_Click()
{
    m_polling->syncCheckMarkWithTimer();
    mnuEnable->setChecked(m_polling->isMonitoringChecked());
    refreshStatus();
}

void frmLogView::mnuEnable_Click()
{
    m_polling->mnuEnable_Click();
    mnuEnable->setChecked(m_polling->isMonitoringChecked());
    refreshStatus();
}

void frmLogView::mnuFollow_Click()
{
    m_state.following = !m_state.following;
    mnuFollow->setChecked(m_state.following);
    if (m_state.following)
        m_view->setCaret(m_view->textLength()); // back to the end at once
    else
        m_followMark = m_view->store().textLines() - 1;
    refreshStatus();
}

void frmLogView::mnuWake_Click()
{
    m_waking->setEnabled(!m_waking->isEnabled());
    mnuWake->setChecked(m_waking->isEnabled());
    if (!WatchSettings(m_services.settings).setWakeOnChange(m_waking->isEnabled()))
        m_services.messages.inform(frmOptions::saveFailedMessage());
}

void frmLogView::mnuOption_Click()
{
    m_optionsDialog.show();
}

void frmLogView::mnuGrep_Click()
{
    setGrepModeChecked(m_grep->mnuGrep_Click());
}

void frmLogView::mnuKeyword_Click()
{
    m_keywordDialog.show();
}

void frmLogView::mnuAbout_Click()
{
    m_aboutDialog.show();
}
