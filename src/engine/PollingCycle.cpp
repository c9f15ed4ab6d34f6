#include "engine/PollingCycle.h"

#include "engine/LogAppender.h"
#include "engine/WatchedFileTable.h"
#include "platform/Clock.h"
#include "platform/MessageBox.h"
#include "platform/NativePath.h"
#include "platform/PollTimer.h"
#include "platform/TaskQueue.h"

#include <algorithm>
#include <limits>
#include <utility>

PollingCycle::PollingCycle(WatchedFileTable &table, LogAppender &appender, PollTimer &tmrCheck,
                           MessageBox &messages, TaskQueue &turns, const Clock &clock,
                           std::function<void()> closeMainWindow)
    : m_table(table)
    , m_appender(appender)
    , m_tmrCheck(tmrCheck)
    , m_messages(messages)
    , m_turns(turns)
    , m_clock(clock)
    , m_closeMainWindow(std::move(closeMainWindow))
{
    m_noticeTimes.fill(std::numeric_limits<qint64>::min() / 2); // long before any notice
    m_tmrCheck.setHandler([this] { tmrCheck_Timer(); });
}

QString PollingCycle::failureQuestion(const QString &path)
{
    return QStringLiteral("ファイルの読み込みでエラーが発生しました [") % NativePath::display(path)
        % QStringLiteral("]\r\n処理を続行しますか？");
}

void PollingCycle::tmrCheck_Timer()
{
    if (m_pass) {
        // A tick's own pass absorbs it; a woken one may leave files unread that only polling
        // follows, so the tick runs after it.
        m_tickWaiting = m_tickWaiting || m_pass->slots != kEverySlot;
        return;
    }
    startPass(kEverySlot);
}

qint64 PollingCycle::wake(int slot)
{
    if ((!m_tmrCheck.isEnabled() && !m_pass) || slot < 0 || slot >= 32)
        return 0;
    m_woken |= 1u << slot;
    m_noticeTimes[size_t(m_nextNotice)] = m_clock.nowMs();
    m_nextNotice = (m_nextNotice + 1) % kStreamNotices;
    scheduleWokenPass();
    return m_wokenPassPosted ? std::max<qint64>(0, m_wokenPassDueMs - m_clock.nowMs()) : 0;
}

void PollingCycle::scheduleWokenPass()
{
    if (m_pass || m_wokenPassPosted)
        return; // the end of the pass, or the posted one, sees the notice
    const qint64 now = m_clock.nowMs();
    // A stream begins with many notices in a second and lasts while notices keep coming
    // within a second of the last woken pass: while it is read every kStreamGapMs, the
    // notices of a whole gap come as one per file, which alone may not look like a stream.
    if (now - m_noticeTimes[size_t(m_nextNotice)] < 1000)
        m_streaming = true;
    else if (!m_lastWokenPassMs || now - *m_lastWokenPassMs >= 1000)
        m_streaming = false;
    const qint64 gap = m_streaming ? kStreamGapMs : kWakeGapMs;
    const qint64 since = m_lastWokenPassMs ? now - *m_lastWokenPassMs : gap;
    const qint64 wait = std::clamp<qint64>(gap - since, 0, gap);
    m_wokenPassPosted = true;
    m_wokenPassDueMs = now + wait;
    m_turns.postAfter(int(wait), [this] {
        m_wokenPassPosted = false;
        runWokenPass();
    });
}

void PollingCycle::runWokenPass()
{
    if (m_pass)
        return; // a tick's pass began meanwhile; its end looks again
    if (!m_tmrCheck.isEnabled()) {
        m_woken = 0; // paused meanwhile
        return;
    }
    if (const quint32 slots = std::exchange(m_woken, 0)) {
        m_lastWokenPassMs = m_clock.nowMs();
        startPass(slots);
    }
}

void PollingCycle::startPass(quint32 slots)
{
    if (slots == kEverySlot)
        m_woken = 0; // every notice so far is read by this pass
    m_pass = Pass {0, m_table.count(), {}, slots};
    runPass();
}

void PollingCycle::continuePass()
{
    if (!m_pass)
        return;
    if (!m_tmrCheck.isEnabled()) {
        m_pass.reset(); // paused or closed meanwhile
        m_woken = 0;
        m_tickWaiting = false;
        return;
    }
    runPass();
}

void PollingCycle::runPass()
{
    const qint64 turnStart = m_clock.nowMs();
    // Entries removed during a long pass shorten it; the next tick sees the list as it is.
    while (m_pass && m_pass->entry < std::min(m_pass->count, m_table.count())) {
        const int i = m_pass->entry;
        const auto slot = m_table.itemData(i).value_or(-1);
        const bool everySlot = m_pass->slots == kEverySlot;
        if (!everySlot && (slot < 0 || slot >= 32 || !(m_pass->slots & (1u << slot)))) {
            m_pass->entry = i + 1;
            continue;
        }
        const ReadStep step = m_appender.readLog2Chunk(i, m_pass->look);
        if (step == ReadStep::More) {
            if (m_clock.nowMs() - turnStart >= kTurnBudgetMs) {
                m_turns.post([this] { continuePass(); });
                return;
            }
            continue;
        }
        if (step == ReadStep::Done)
            m_table.setFailureReported(slot, false);
        else if (everySlot && !m_table.failureReported(slot) && !reportFailure(i))
            return;
        m_pass->entry = i + 1;
        m_pass->look = {};
    }
    endPass();
}

void PollingCycle::endPass()
{
    m_pass.reset();
    if (!m_tmrCheck.isEnabled()) {
        m_woken = 0;
        m_tickWaiting = false;
        return;
    }
    if (std::exchange(m_tickWaiting, false)) {
        m_turns.post([this] {
            if (!m_pass && m_tmrCheck.isEnabled())
                startPass(kEverySlot);
        });
    } else if (m_woken) {
        scheduleWokenPass();
    }
}

bool PollingCycle::reportFailure(int lngIndex)
{
    m_table.setFailureReported(m_table.itemData(lngIndex).value_or(-1), true);
    // The box runs its own event loop: the timer is held so that no tick runs meanwhile.
    const bool wasEnabled = m_tmrCheck.isEnabled();
    m_tmrCheck.setEnabled(false);
    if (m_messages.ask(failureQuestion(m_table.path(lngIndex))) == MessageBox::Answer::Cancel) {
        m_pass.reset();
        if (m_closeMainWindow)
            m_closeMainWindow();
        return false;
    }
    if (wasEnabled)
        m_tmrCheck.setEnabled(true);
    return true;
}

void PollingCycle::mnuEnable_Click()
{
    m_mnuEnableChecked = !m_mnuEnableChecked;
    m_tmrCheck.setEnabled(m_mnuEnableChecked);
    m_woken = 0;
    if (m_mnuEnableChecked)
        m_appender.moveToEnd();
}

void PollingCycle::syncCheckMarkWithTimer()
{
    m_mnuEnableChecked = m_tmrCheck.isEnabled();
}
