#pragma once

#include "platform/PollTimer.h"

#include <QTimer>

// The polling timer on the desktop. It starts disabled with 1000 ms; changing the interval
// of a disabled timer does not start it, and enabling an enabled one keeps its rhythm.
class QtPollTimer : public PollTimer
{
public:
    QtPollTimer();

    int interval() const override;
    void setInterval(int milliseconds) override;
    bool isEnabled() const override;
    void setEnabled(bool enabled) override;
    void setHandler(std::function<void()> onTick) override;

private:
    QTimer m_timer;
    std::function<void()> m_onTick;
};
