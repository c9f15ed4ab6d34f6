#include "platform/QtPollTimer.h"

QtPollTimer::QtPollTimer()
{
    m_timer.setInterval(1000);
    m_timer.setSingleShot(false);
    QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] {
        if (m_onTick)
            m_onTick();
    });
}

int QtPollTimer::interval() const
{
    return m_timer.interval();
}

void QtPollTimer::setInterval(int milliseconds)
{
    m_timer.setInterval(milliseconds);
}

bool QtPollTimer::isEnabled() const
{
    return m_timer.isActive();
}

void QtPollTimer::setEnabled(bool enabled)
{
    if (enabled == m_timer.isActive())
        return;
    if (enabled)
        m_timer.start();
    else
        m_timer.stop();
}

void QtPollTimer::setHandler(std::function<void()> onTick)
{
    m_onTick = std::move(onTick);
}
