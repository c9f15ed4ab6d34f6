#pragma once

#include <functional>

// The repeating polling timer.
class PollTimer
{
public:
    virtual ~PollTimer() = default;
    virtual int interval() const = 0;
    virtual void setInterval(int milliseconds) = 0;
    virtual bool isEnabled() const = 0;
    virtual void setEnabled(bool enabled) = 0;
    // The handler run on every tick.
    virtual void setHandler(std::function<void()> onTick) = 0;
};
