#pragma once

#include "engine/IncrementalReader.h"

#include <QString>

#include <array>
#include <functional>
#include <optional>

class Clock;
class LogAppender;
class MessageBox;
class PollTimer;
class TaskQueue;
class WatchedFileTable;

// The polling cycle: every tick of the timer reads each watched file once, in list order, and
// the monitoring command switches polling off and on. The cycle installs itself as the
// timer's tick handler.
//
// A tick is one pass over the list. A file that has grown a lot is read chunk by chunk, and
// when a pass has worked for kTurnBudgetMs it goes on in a later turn of the event loop, so
// the window keeps answering while a flood or a huge append is read. Ticks that come while a
// pass is still going are absorbed by it; files are always read, and shown, in list order.
// Pausing (or closing) ends an unfinished pass; read positions are never touched by it.
//
// A file that cannot be read is asked about once: the timer is held while the question is
// open, and after OK the pass goes on with the next file. That file is retried silently on
// every pass and asked about again only after it has been read successfully once more.
// キャンセル closes the main window through the callback and the timer stays held.
//
// Between ticks a change noticed in a watched file wakes the cycle: a pass over the woken
// entries alone starts in a later turn of the event loop, so that the notices of one burst go
// together, and no sooner than kWakeGapMs after the last woken pass began; notices that come
// while a pass runs wait for its end. Each pass shown costs a repaint of the window, so
// a stream of changes (more than kStreamNotices notices within a second: eleven busy files, a
// flood) is read every kStreamGapMs instead: a line written alone is shown at once, a stream a
// few times a second. Such a pass reads exactly as a tick's does, but a
// failure in it asks nothing: a rotation caught between its rename and its new file must not
// raise the question, and the next tick asks about a failure that lasts. A tick that comes
// during a woken pass is not lost but runs after it. Paused, starting or closed, notices do
// nothing; resuming reads as it always did, at the next tick.
class PollingCycle
{
public:
    static constexpr qint64 kTurnBudgetMs = 40;
    static constexpr qint64 kWakeGapMs = 10;
    static constexpr int kStreamNotices = 20;
    static constexpr qint64 kStreamGapMs = 500;

    PollingCycle(WatchedFileTable &table, LogAppender &appender, PollTimer &tmrCheck,
                 MessageBox &messages, TaskQueue &turns, const Clock &clock,
                 std::function<void()> closeMainWindow);

    // One tick: starts a pass unless one is still going. The number of entries is taken once,
    // at its start; an empty list does nothing.
    void tmrCheck_Timer();

    // The file of the entry with this slot may have changed. Returns how long, in ms, nothing
    // will be read for the notice: until then further notices may as well wait.
    qint64 wake(int slot);

    // Toggles the check mark of the monitoring command and the timer with it; switching on also
    // puts the view's caret at its end (LogAppender::moveToEnd: not while following is off).
    void mnuEnable_Click();

    // The check mark of the monitoring command; set when the program starts.
    bool isMonitoringChecked() const { return m_mnuEnableChecked; }
    // Lets the check mark show whether polling really runs (when the menu opens).
    void syncCheckMarkWithTimer();

    // The question asked when the entry's file cannot be read.
    static QString failureQuestion(const QString &path);

private:
    // Slots as bits: which entries a pass reads.
    static constexpr quint32 kEverySlot = ~0u;

    struct Pass
    {
        int entry = 0;
        int count = 0;
        Look look;
        quint32 slots = kEverySlot;
    };

    void startPass(quint32 slots);
    void runPass();
    void continuePass();
    void endPass();
    void scheduleWokenPass();
    void runWokenPass();
    // False when the user chose キャンセル.
    bool reportFailure(int lngIndex);

    WatchedFileTable &m_table;
    LogAppender &m_appender;
    PollTimer &m_tmrCheck;
    MessageBox &m_messages;
    TaskQueue &m_turns;
    const Clock &m_clock;
    std::function<void()> m_closeMainWindow;
    bool m_mnuEnableChecked = true;
    std::optional<Pass> m_pass;
    quint32 m_woken = 0; // slots noticed to have changed and not yet read since
    bool m_wokenPassPosted = false;
    qint64 m_wokenPassDueMs = 0;
    bool m_tickWaiting = false; // a tick came during a woken pass
    std::optional<qint64> m_lastWokenPassMs;
    bool m_streaming = false;
    // When the last kStreamNotices notices came, in turn; the oldest is overwritten next.
    std::array<qint64, kStreamNotices> m_noticeTimes;
    int m_nextNotice = 0;
};
