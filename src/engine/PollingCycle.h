#pragma once

#include <functional>

class LogAppender;
class LogView;
class MessageBox;
class PollTimer;
class WatchedFileTable;

// The polling cycle: every tick of the timer reads each watched file once, in list order, and
// the monitoring command switches polling off and on. The cycle installs itself as the
// timer's tick handler.
//
// A failed read stops the tick at that entry, so the entries behind a failing one wait until
// it succeeds again or is removed. The question whether to go on is asked with the timer held:
// one persisting failure shows one message at a time, never a pile of them. After OK the timer
// runs again if it ran before; after キャンセル the main window is closed through the callback
// and the timer stays held. Pausing does not touch the read positions, so the first tick after
// resuming shows the whole backlog of each file in one piece.
class PollingCycle
{
public:
    PollingCycle(const WatchedFileTable &table, LogAppender &appender, PollTimer &tmrCheck,
                 MessageBox &messages, LogView &view, std::function<void()> closeMainWindow);

    // One tick. The number of entries is taken once, at its start; an empty list does nothing.
    void tmrCheck_Timer();

    // Toggles the check mark of the monitoring command and the timer with it; switching on also
    // puts the view's caret at its end.
    void mnuEnable_Click();

    // The check mark of the monitoring command; set when the program starts.
    bool isMonitoringChecked() const { return m_mnuEnableChecked; }
    // Lets the check mark show whether polling really runs (when the menu opens).
    void syncCheckMarkWithTimer();

private:
    const WatchedFileTable &m_table;
    LogAppender &m_appender;
    PollTimer &m_tmrCheck;
    MessageBox &m_messages;
    LogView &m_view;
    std::function<void()> m_closeMainWindow;
    bool m_mnuEnableChecked = true;
};
