#pragma once

#include "platform/Clock.h"

// A clock that moves only when the test moves it, or by stepMs at every reading.
class FakeClock : public Clock
{
public:
    qint64 nowMs() const override { return now += stepMs; }
    mutable qint64 now = 0;
    qint64 stepMs = 0;
};
