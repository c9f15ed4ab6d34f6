#pragma once

#include <QtGlobal>

#include <chrono>

// Milliseconds on a clock that only moves forward; not the wall clock, which the user may set
// back. Only differences between two readings mean anything.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual qint64 nowMs() const = 0;
};

class SteadyClock : public Clock
{
public:
    qint64 nowMs() const override
    {
        using namespace std::chrono;
        return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    }
};
