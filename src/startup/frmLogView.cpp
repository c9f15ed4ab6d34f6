#include "startup/frmLogView.h"

#include "commands/EditCommands.h"
#include "commands/GrepCommands.h"
#include "commands/frmAbout.h"
#include "commands/frmKeyword.h"
#include "commands/frmSearch.h"
#include "engine/CharacterSets.h"
#include "engine/IncrementalReader.h"
#include "engine/LogAppender.h"
#include "engine/PollingCycle.h"
#include "files/CaptionBuilder.h"
#include "files/FileListOperations.h"
#include "files/frmFileList.h"
#include "highlight/HighlightSettings.h"
#include "highlight/frmHighlight.h"
#include "platform/ArgumentText.h"
#include "platform/Clock.h"
#include "platform/Cp932Decoder.h"
#include "platform/MessageBox.h"
#include "platform/NativePath.h"
#include "platform/PollTimer.h"
#include "platform/QtReadProgress.h"
#include "platform/QtTaskQueue.h"
#include "platform/SettingsStore.h"
#include "platform/ViewFonts.h"
#include "settings/LogViewSettings.h"
#include "settings/ScreenColors.h"
#include "settings/SettingsLoader.h"
#include "settings/frmOptions.h"
#include "startup/ArgumentAnalysis.h"
#include "startup/ArgumentTokenizer.h"
#include "startup/LogViewArguments.h"
#include "startup/MenuCaptions.h"
#include "startup/ProgramIcon.h"
#include "startup/StartupFiles.h"
#include "view/LogScrollView.h"
#include "view/StoreLogView.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMenuBar>

namespace {
constexpr int kClientWidth = 7890 / 15; // 526 pixels
constexpr int kClientHeight = 5595 / 15; // 373 pixels
constexpr double kLargestFontSize = 1638; // what Qt's font engines take without trouble
const QString kApplication = QStringLiteral("PIVEX");
} // namespace

frmLogView::frmLogView(const DesktopServices &services, QWidget *parent)
    : QMainWindow(parent)
    , m_services(services)
    , m_decoder(std::make_unique<Cp932Decoder>())
    , m_clock(std::make_unique<SteadyClock>())
    , m_turns(std::make_unique<QtTaskQueue>())
    , m_progress(std::make_unique<QtReadProgress>())
    , m_fileListDialog([this] {
        return new frmFileList(m_table,
                               {[this] { m_fileOps->addChosenFile(); },
                                [this](int i) { removeFile(i); }, [this] { setCaption(); }});
    })
    , m_keywordDialog([this] { return new frmKeyword(m_state); })
    , m_searchDialog([this] {
        auto *dialog = new frmSearch(*m_view, m_services.messages);
        dialog->setMatchLocator([this] { return m_view->widget()->selectionOnScreen(); });
        return dialog;
    })
    , m_aboutDialog([this] { return new frmAbout(ProgramIcon::icon()); })
    , m_highlightDialog([this] {
        return new frmHighlight(
            m_view->highlightRules(),
            [this](const HighlightRules &rules) { applyHighlightRules(rules); },
            m_services.messages);
    })
    , m_optionsDialog([this] {
        return new frmOptions(
            m_optionsValues,
            {[this](const qint32 &n) { SetScreenColor(n); }, [this] { return SaveSettings(); }},
            m_services.messages);
    })
{
    QMainWindow::setWindowTitle(QStringLiteral("Pivex"));
    // main() gives the icon to the whole program; set here too, so the window carries it
    // wherever it is made.
    setWindowIcon(ProgramIcon::icon());

    // The view is the central widget, so the window's own layout makes it fill the client
    // area below the menu bar at every size and state, whenever the window manager (if any)
    // reports its frame; minimising leaves it as it was.
    m_view = std::make_unique<StoreLogView>(this);
    setCentralWidget(m_view->widget());
    m_view->setFont(ViewFonts::resolve(QStringLiteral("Terminal"), 13.5));

    m_reader = std::make_unique<IncrementalReader>(m_services.files, *m_decoder, m_table, *m_clock);
    m_appender = std::make_unique<LogAppender>(*m_reader, m_state, *m_view);
    m_polling = std::make_unique<PollingCycle>(m_table, *m_appender, m_services.tmrCheck,
                                               m_services.messages, *m_view, *m_turns, *m_clock,
                                               [this] { close(); });
    m_fileOps = std::make_unique<FileListOperations>(m_table, *m_reader, m_services.dlgOpen,
                                                     m_services.messages);
    m_grep = std::make_unique<GrepCommands>(m_state, m_services.messages);
    m_edit = std::make_unique<EditCommands>(*m_view, m_services.clipboard, m_services.messages);
    // The view's own Ctrl+C and コピー copy the way the edit menu does.
    connect(m_view->widget(), &LogScrollView::copyRequested, this, &frmLogView::mnuCopy_Click);

    buildMenus();
    resize(kClientWidth, kClientHeight + menuBar()->sizeHint().height());
}

frmLogView::~frmLogView()
{
    m_services.tmrCheck.setEnabled(false);
    m_services.tmrCheck.setHandler({});
}

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

bool frmLogView::Form_Load()
{
    LoadSettings();
    if (!analyzeArgument(getArgument())) {
        m_services.messages.inform(StartupMessages::invalidArguments());
        Form_Unload();
        return false;
    }
    if (const auto failure = setUpWatchedFiles(m_table, m_services.files, *m_reader, *m_appender,
                                               ViewMode, *m_progress)) {
        m_services.messages.inform(*failure);
        Form_Unload();
        return false;
    }
    setCaption();
    m_services.tmrCheck.setEnabled(true);
    return true;
}

void frmLogView::LoadSettings()
{
    // Built-in values first: a load that stops at a broken value leaves these for the keys
    // it did not reach.
    m_services.tmrCheck.setInterval(1000);
    setCharacterSet(CharacterSets::kShiftJis);
    applyViewFont(QStringLiteral("Terminal"), 14);

    LogViewSettings target(*this);
    const SettingsResult result = SettingsLoader(m_services.settings).LoadSettings(target);
    if (!result.ok()) {
        m_services.messages.inform(
            SettingsLoader::brokenValueMessage(result, m_services.settings.location(kApplication)));
    }
    loadHighlightRules();
}

void frmLogView::loadHighlightRules()
{
    const HighlightSettings::Loaded loaded = HighlightSettings(m_services.settings).load();
    if (!loaded.brokenKeys.isEmpty()) {
        m_services.messages.inform(HighlightSettings::brokenRulesMessage(
            loaded.brokenKeys, m_services.settings.location(kApplication)));
    }
    m_view->setHighlightRules(loaded.rules);
}

void frmLogView::applyHighlightRules(const HighlightRules &rules)
{
    m_view->setHighlightRules(rules);
    if (!HighlightSettings(m_services.settings).save(rules)) {
        m_services.messages.inform(
            QStringLiteral("設定を保存できませんでした\r\n変更した設定は終了するまで有効です"));
    }
}

bool frmLogView::SaveSettings()
{
    LogViewSettings target(*this);
    return SettingsLoader(m_services.settings).SaveSettings(target).ok();
}

QStringList frmLogView::getArgument() const
{
    // Arguments the system has split already are the tokens; cutting a text joined from them
    // again would split a name that holds both a blank and a double quote.
    if (const auto arguments = m_services.arguments.splitArguments())
        return arguments->isEmpty() ? QStringList {QString()} : *arguments;
    return Module1::splitQuoted(m_services.arguments.argumentText(), QStringLiteral(" "));
}

bool frmLogView::analyzeArgument(const QStringList &strArg)
{
    LogViewArguments target(*this);
    return ::analyzeArgument(strArg, target);
}

std::optional<int> frmLogView::addFile(const QString &strFileName)
{
    return m_fileOps->addFile(strFileName);
}

bool frmLogView::removeFile(int lngIndex)
{
    return m_fileOps->removeFile(lngIndex);
}

int frmLogView::getIndex() const
{
    return m_fileOps->getIndex();
}

QString frmLogView::changeFile()
{
    return m_fileOps->changeFile();
}

bool frmLogView::setupFilePointer(int lngIndex)
{
    return m_reader->setupFilePointer(lngIndex);
}

bool frmLogView::readLog2(int lngIndex)
{
    return m_appender->readLog2(lngIndex);
}

void frmLogView::setCaption()
{
    QStringList entries;
    for (int i = 0; i < m_table.count(); ++i)
        entries.append(NativePath::display(m_table.path(i)));
    QMainWindow::setWindowTitle(CaptionBuilder::caption(entries, WindowTitle));
}

void frmLogView::SetScreenColor(const qint32 &lngScreenColor)
{
    ScreenColors(*m_view).SetScreenColor(lngScreenColor, ScreenColor);
}

void frmLogView::setGrepModeChecked(bool on)
{
    m_state.grepMode = on;
    mnuGrep->setChecked(on);
}

void frmLogView::setCharacterSet(qint32 characterSet)
{
    if (characterSet == m_state.CharacterSet)
        return;
    m_state.CharacterSet = characterSet;
    m_table.forgetDetectedCharacterSets();
    m_table.showDetectedCharacterSets(characterSet == CharacterSets::kAutomatic);
}

bool frmLogView::applyViewFont(const QString &faceName, double points)
{
    if (!(points > 0 && points <= kLargestFontSize))
        return false;
    m_view->setFont(ViewFonts::resolve(faceName, points));
    return true;
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
    m_edit->mnuClear_Click();
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
}

void frmLogView::mnuEnable_Click()
{
    m_polling->mnuEnable_Click();
    mnuEnable->setChecked(m_polling->isMonitoringChecked());
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

void frmLogView::closeEvent(QCloseEvent *event)
{
    Form_Unload();
    event->accept();
}

void frmLogView::Form_Unload()
{
    m_services.tmrCheck.setEnabled(false);
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget *window : windows) {
        if (window != this && window->isVisible())
            window->close();
    }
    // The file-list dialog only ever hides; it goes with this window.
    if (frmFileList *dialog = m_fileListDialog.current())
        dialog->hide();
}
