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
#include "engine/WakeOnChange.h"
#include "files/CaptionBuilder.h"
#include "files/FileListOperations.h"
#include "files/frmFileList.h"
#include "highlight/HighlightSettings.h"
#include "highlight/frmHighlight.h"
#include "platform/ArgumentText.h"
#include "platform/Clipboard.h"
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
#include "settings/WatchSettings.h"
#include "settings/frmOptions.h"
#include "startup/ArgumentAnalysis.h"
#include "startup/ArgumentTokenizer.h"
#include "startup/LogViewArguments.h"
#include "startup/ProgramIcon.h"
#include "startup/StartupFiles.h"
#include "status/MonitorStatusBar.h"
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

// The window's state for the command line and the stored options; a part of the window, so it
// reaches what they set without the window opening itself to them.
class frmLogView::RunState final : public WindowState
{
public:
    explicit RunState(frmLogView &window)
        : m_window(window)
    {
    }

    PollTimer &pollTimer() override { return m_window.m_services.tmrCheck; }
    EngineState &engineState() override { return m_window.m_state; }
    void setCharacterSet(qint32 characterSet) override { m_window.setCharacterSet(characterSet); }
    void setGrepModeChecked(bool on) override { m_window.setGrepModeChecked(on); }
    QFont viewFont() const override { return m_window.m_view->font(); }
    bool applyViewFont(const QString &faceName, double points) override
    {
        return m_window.applyViewFont(faceName, points);
    }
    void setTitle(const QString &title) override { m_window.WindowTitle = title; }
    void setViewMode(bool on) override { m_window.ViewMode = on; }
    int fileCount() const override { return m_window.m_table.count(); }
    void addFile(const QString &fileName) override { m_window.addFile(fileName); }

private:
    frmLogView &m_window;
};

frmLogView::frmLogView(const DesktopServices &services, QWidget *parent)
    : QMainWindow(parent)
    , m_services(services)
    , m_runState(std::make_unique<RunState>(*this))
    , m_decoder(std::make_unique<Cp932Decoder>())
    , m_clock(std::make_unique<SteadyClock>())
    , m_turns(std::make_unique<QtTaskQueue>())
    , m_progress(std::make_unique<QtReadProgress>())
    , m_fileListDialog([this] {
        return new frmFileList(m_table,
                               {[this] { m_fileOps->addChosenFile(); },
                                [this](int i) { removeFile(i); }, [this] { setCaption(); }});
    })
    , m_keywordDialog([this] {
        auto *dialog = new frmKeyword(m_state);
        connect(dialog, &QDialog::finished, this, &frmLogView::refreshStatus);
        return dialog;
    })
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
    , m_optionsValues(*m_runState)
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
                                               m_services.messages, *m_turns, *m_clock,
                                               [this] { close(); });
    m_waking = std::make_unique<WakeOnChange>(m_table, m_services.watch, *m_polling);
    m_fileOps = std::make_unique<FileListOperations>(m_table, *m_reader, m_services.dlgOpen,
                                                     m_services.messages);
    m_grep = std::make_unique<GrepCommands>(m_state, m_services.messages);
    m_edit = std::make_unique<EditCommands>(*m_view, m_services.clipboard, m_services.messages);
    // The view's own Ctrl+C and コピー copy the way the edit menu does.
    connect(m_view->widget(), &LogScrollView::copyRequested, this, &frmLogView::mnuCopy_Click);
    connect(m_view->widget(), &LogScrollView::copyWithFileNamesRequested, this,
            [this] { m_edit->copyWithFileNames(); });
    // Lines say which file they came from as soon as there is more than one to tell apart.
    m_view->widget()->setOriginNamer([this](quint16 origin) -> std::optional<OriginMark> {
        const auto source = m_table.sourceOf(origin);
        if (!source)
            return std::nullopt;
        return OriginMark {source->slot + 1, NativePath::display(source->path)};
    });
    const auto showGutter = [this] { m_view->widget()->setGutterShown(m_table.count() > 1); };
    connect(&m_table, &QAbstractItemModel::rowsInserted, this, showGutter);
    connect(&m_table, &QAbstractItemModel::rowsRemoved, this, showGutter);

    buildMenus();
    buildStatusBar();
    m_waking->setEnabled(WatchSettings(m_services.settings).wakeOnChange());
    mnuWake->setChecked(m_waking->isEnabled());
    resize(kClientWidth,
           kClientHeight + menuBar()->sizeHint().height() + m_status->sizeHint().height());
}

WindowState &frmLogView::windowState()
{
    return *m_runState;
}

frmLogView::~frmLogView()
{
    m_services.tmrCheck.setEnabled(false);
    m_services.tmrCheck.setHandler({});
}

bool frmLogView::Form_Load()
{
    LoadSettings();
    std::optional<StartupFailure> failure;
    if (!analyzeArgument(getArgument()))
        failure = StartupMessages::invalidArguments();
    else
        failure = setUpWatchedFiles(m_table, m_services.files, *m_reader, *m_appender, ViewMode,
                                    *m_progress);
    if (failure) {
        m_startupReport = StartupMessages::forTerminal(*failure);
        m_services.messages.inform(failure->message);
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

    LogViewSettings target(*m_runState);
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
        m_services.messages.inform(frmOptions::saveFailedMessage());
    }
}

bool frmLogView::SaveSettings()
{
    LogViewSettings target(*m_runState);
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
    LogViewArguments target(*m_runState);
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
    // Qt takes "[*]" in a title for its unsaved-changes mark and drops it; a title or file
    // name that holds it must show it as it is, which the doubled form does.
    QString caption = CaptionBuilder::caption(entries, WindowTitle);
    QMainWindow::setWindowTitle(caption.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]")));
}

void frmLogView::SetScreenColor(const qint32 &lngScreenColor)
{
    ScreenColors(*m_view).SetScreenColor(lngScreenColor, ScreenColor);
}

void frmLogView::setGrepModeChecked(bool on)
{
    m_state.grepMode = on;
    mnuGrep->setChecked(on);
    refreshStatus();
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

void frmLogView::closeEvent(QCloseEvent *event)
{
    Form_Unload();
    event->accept();
}

void frmLogView::Form_Unload()
{
    m_services.tmrCheck.setEnabled(false);
    // A copy still to be made from the view is made now, while there is a view to make it
    // from: the clipboard keeps it for the desktop after Pivex has gone.
    m_services.clipboard.settle();
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget *window : windows) {
        if (window != this && window->isVisible())
            window->close();
    }
    // The file-list dialog only ever hides; it goes with this window.
    if (frmFileList *dialog = m_fileListDialog.current())
        dialog->hide();
}
