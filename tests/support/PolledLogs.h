#pragma once

#include "FakeMessageBox.h"
#include "FakePollTimer.h"
#include "FakeTaskQueue.h"
#include "WatchedLogs.h"

#include "engine/PollingCycle.h"

// Watched logs driven by the real polling cycle, ticked by hand; every question is answered
// OK unless the test queues another answer. The clock stands still, so a pass never runs out
// of its turn: each tick reads everything.
struct PolledLogs : WatchedLogs
{
    FakePollTimer timer;
    FakeMessageBox messages;
    FakeTaskQueue turns;
    int closeCalls = 0;
    PollingCycle cycle {table, appender, timer, messages, turns, clock, [this] { ++closeCalls; }};

    explicit PolledLogs(const QStringList &names = {}, ReadLimits limits = {})
        : WatchedLogs(limits)
    {
        for (const QString &name : names)
            watch(name);
        timer.setEnabled(true);
    }

    // The question the cycle asks when the entry's file cannot be read.
    static QString failureText(const QString &path) { return PollingCycle::failureQuestion(path); }
};
