#pragma once

#include "commands/DialogHolder.h"
#include "engine/EngineState.h"
#include "engine/WatchedFileTable.h"
#include "settings/LogViewSettings.h"
#include "settings/WindowState.h"
#include "startup/DesktopServices.h"

#include <QElapsedTimer>
#include <QMainWindow>
#include <QStringList>
#include <QTimer>

#include <memory>
#include <optional>

class Cp932Decoder;
class EditCommands;
class FileListOperations;
class GrepCommands;
class IncrementalReader;
class MonitorStatusBar;
class LogAppender;
class StoreLogView;
class PollingCycle;
class WakeOnChange;
class QAction;
class QMenu;
class QtReadProgress;
class QtTaskQueue;
class SteadyClock;
class HighlightRules;
class frmAbout;
class frmFileList;
class frmHighlight;
class frmKeyword;
class frmOptions;
class frmSearch;

// The main window: the log view, the polling timer and the menus. It holds the engine's state
// and offers the program's named operations, each handed to the code that does the work; it
// wires, it does not compute.
//
// Life: construct, call Form_Load() and show the window only when it returns true. Closing it
// (close box or 終了) stops the timer, closes every other window of the program and saves
// nothing.
class frmLogView : public QMainWindow
{
    Q_OBJECT

public:
    explicit frmLogView(const DesktopServices &services, QWidget *parent = nullptr);
    ~frmLogView() override;

    // The start: settings, command line, files, caption, timer. False after a message that
    // ends the program; the window must not be shown then, and startupReport() holds the
    // same message for standard error.
    bool Form_Load();
    QByteArray startupReport() const { return m_startupReport; }

    // Named operations, for the dialogs and the start.
    void LoadSettings();
    bool SaveSettings();
    QStringList getArgument() const;
    bool analyzeArgument(const QStringList &strArg);
    std::optional<int> addFile(const QString &strFileName);
    bool removeFile(int lngIndex);
    int getIndex() const;
    QString changeFile();
    bool setupFilePointer(int lngIndex);
    bool readLog2(int lngIndex);
    void setCaption();
    void SetScreenColor(const qint32 &lngScreenColor);

    // State the dialogs and tests look at.
    EngineState &engineState() { return m_state; }
    WatchedFileTable &lstFile() { return m_table; }
    StoreLogView &rtfLog() { return *m_view; }
    PollTimer &tmrCheck() { return m_services.tmrCheck; }
    WindowState &windowState();
    QString WindowTitle;
    bool ViewMode = false;
    qint32 ScreenColor = 0;

    // Menu commands.
    void mnuChange_Click();
    void mnuExit_Click();
    void mnuCopy_Click();
    void mnuClear_Click();
    void mnuSearch_Click();
    void mnuSearchNext_Click();
    void mnuSearchPrevious_Click();
    void mnuSetup_Click();
    void mnuEnable_Click();
    void mnuFollow_Click();
    void mnuWake_Click();
    void mnuOption_Click();
    void mnuGrep_Click();
    void mnuKeyword_Click();
    void mnuHighlight_Click();
    void mnuAbout_Click();

    QAction *mnuEnableAction() const { return mnuEnable; }
    QAction *mnuGrepAction() const { return mnuGrep; }
    QAction *mnuFollowAction() const { return mnuFollow; }
    MonitorStatusBar *monitorStatusBar() const { return m_status; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildMenus();
    void buildStatusBar();
    // The status bar shows the state as it is now.
    void refreshStatus();
    void Form_Unload();

    // The command line and the stored options write into the window through its state.
    class RunState;
    void setGrepModeChecked(bool on);
    // A new character set applies from the next read on. Changing it makes every entry forget
    // the set detected for its file: each period of automatic reading decides afresh.
    void setCharacterSet(qint32 characterSet);
    bool applyViewFont(const QString &faceName, double points);
    // The highlight rules: loaded with the settings, saved when the dialog's OK applies them.
    void loadHighlightRules();
    void applyHighlightRules(const HighlightRules &rules);

    DesktopServices m_services;
    std::unique_ptr<RunState> m_runState;
    EngineState m_state;
    WatchedFileTable m_table;
    std::unique_ptr<Cp932Decoder> m_decoder;
    std::unique_ptr<SteadyClock> m_clock;
    std::unique_ptr<QtTaskQueue> m_turns; // outlives the polling cycle, whose tasks it holds
    std::unique_ptr<QtReadProgress> m_progress;
    std::unique_ptr<StoreLogView> m_view;
    std::unique_ptr<IncrementalReader> m_reader;
    std::unique_ptr<LogAppender> m_appender;
    std::unique_ptr<PollingCycle> m_polling;
    std::unique_ptr<WakeOnChange> m_waking;
    std::unique_ptr<FileListOperations> m_fileOps;
    std::unique_ptr<GrepCommands> m_grep;
    std::unique_ptr<EditCommands> m_edit;

    DialogHolder<frmFileList> m_fileListDialog;
    DialogHolder<frmKeyword> m_keywordDialog;
    DialogHolder<frmSearch> m_searchDialog;
    DialogHolder<frmAbout> m_aboutDialog;
    DialogHolder<frmHighlight> m_highlightDialog;
    LogViewSettings m_optionsValues; // what the options dialog shows and sets
    DialogHolder<frmOptions> m_optionsDialog;

    QMenu *mnuSetup = nullptr;
    QAction *mnuEnable = nullptr;
    QAction *mnuWake = nullptr;
    QAction *mnuGrep = nullptr;
    QAction *mnuFollow = nullptr;
    MonitorStatusBar *m_status = nullptr;
    qint64 m_followMark = 0; // the last line when following stopped
    static constexpr qint64 kStatusGapMs = 500;
    QTimer m_statusTimer;
    QElapsedTimer m_sinceStatus;
    QByteArray m_startupReport;
};
