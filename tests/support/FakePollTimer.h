#pragma once

#include "platform/PollTimer.h"

// A timer that ticks only when the test says so.
class FakePollTimer : public PollTimer
{
public:
    int interval() const override { return m_interval; }
    void setInterval(int milliseconds) override { m_interval = milliseconds; }
    bool isEnabled() const override { return m_enabled; }
    void setEnabled(bool enabled) override { m_enabled = enabled; }
    void setHandler(std::function<void()> onTick) override { m_onTick = std::move(onTick); }

    // Runs the handler as a real tick would: only while enabled. Returns whether it ran.
    bool tick();

private:
    int m_interval = 1000;
    bool m_enabled = false;
    std::function<void()> m_onTick;
};
