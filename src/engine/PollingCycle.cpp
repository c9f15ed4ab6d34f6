#include "engine/PollingCycle.h"

#include "engine/LogAppender.h"
#include "engine/WatchedFileTable.h"
#include "platform/Clock.h"
#include "platform/MessageBox.h"
#include "platform/NativePath.h"
#include "platform/PollTimer.h"
#include "platform/TaskQueue.h"

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
    m_tmrCheck.setHandler([this] { tmrCheck_Timer(); });
}

QString PollingCycle::failureQuestion(const QString &path)
{
    return QStringLiteral("ファイルの読み込みでエラーが発生しました [") % NativePath::display(path)
        % QStringLiteral("]\r\n処理を続行しますか？");
}

void PollingCycle::tmrCheck_Timer()
{
    if (m_pass)
        return;
    m_pass = Pass {0, m_table.count(), {}};
    runPass();
}

void PollingCycle::continuePass()
{
    if (!m_pass)
        return;
    if (!m_tmrCheck.isEnabled()) {
        m_pass.reset(); // paused or closed meanwhile
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
        const ReadStep step = m_appender.readLog2Chunk(i, m_pass->look);
        if (step == ReadStep::More) {
            if (m_clock.nowMs() - turnStart >= kTurnBudgetMs) {
                m_turns.post([this] { continuePass(); });
                return;
            }
            continue;
        }
        const auto slot = m_table.itemData(i).value_or(-1);
        if (step == ReadStep::Done)
            m_table.setFailureReported(slot, false);
        else if (!m_table.failureReported(slot) && !reportFailure(i))
            return;
        m_pass->entry = i + 1;
        m_pass->look = {};
    }
    m_pass.reset();
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
    if (m_mnuEnableChecked)
        m_appender.moveToEnd();
}

void PollingCycle::syncCheckMarkWithTimer()
{
    m_mnuEnableChecked = m_tmrCheck.isEnabled();
}
