#include "engine/PollingCycle.h"

#include "engine/LogAppender.h"
#include "engine/WatchedFileTable.h"
#include "platform/LogView.h"
#include "platform/MessageBox.h"
#include "platform/PollTimer.h"

PollingCycle::PollingCycle(const WatchedFileTable &table, LogAppender &appender,
                           PollTimer &tmrCheck, MessageBox &messages, LogView &view,
                           std::function<void()> closeMainWindow)
    : m_table(table)
    , m_appender(appender)
    , m_tmrCheck(tmrCheck)
    , m_messages(messages)
    , m_view(view)
    , m_closeMainWindow(std::move(closeMainWindow))
{
    m_tmrCheck.setHandler([this] { tmrCheck_Timer(); });
}

void PollingCycle::tmrCheck_Timer()
{
    const int n = m_table.count();
    for (int i = 0; i < n; ++i) {
        if (m_appender.readLog2(i))
            continue;

        const QString text = QStringLiteral("ファイルの読み込みでエラーが発生しました [")
            % m_table.path(i) % QStringLiteral("]\r\n処理を続行しますか？");
        // The box runs its own event loop; without holding the timer every further tick would
        // fail the same way and open another box on top of this one.
        const bool wasEnabled = m_tmrCheck.isEnabled();
        m_tmrCheck.setEnabled(false);
        if (m_messages.ask(text) == MessageBox::Answer::Cancel) {
            if (m_closeMainWindow)
                m_closeMainWindow();
            return;
        }
        if (wasEnabled)
            m_tmrCheck.setEnabled(true);
        return;
    }
}

void PollingCycle::mnuEnable_Click()
{
    m_mnuEnableChecked = !m_mnuEnableChecked;
    m_tmrCheck.setEnabled(m_mnuEnableChecked);
    if (m_mnuEnableChecked)
        m_view.setCaret(m_view.textLength());
}

void PollingCycle::syncCheckMarkWithTimer()
{
    m_mnuEnableChecked = m_tmrCheck.isEnabled();
}
