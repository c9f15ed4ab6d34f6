#pragma once

#include "FakeMessageBox.h"
#include "FakePollTimer.h"
#include "WatchedLogs.h"

#include "engine/PollingCycle.h"

// Watched logs driven by the real polling cycle, ticked by hand; every question is answered
// OK unless the test queues another answer.
struct PolledLogs : WatchedLogs
{
    FakePollTimer timer;
    FakeMessageBox messages;
    int closeCalls = 0;
    PollingCycle cycle {table, appender, timer, messages, view, [this] { ++closeCalls; }};

    explicit PolledLogs(const QStringList &names = {})
    {
        for (const QString &name : names)
            watch(name);
        timer.setEnabled(true);
    }

    // The question the cycle asks when the entry's file cannot be read.
    static QString failureText(const QString &path)
    {
        return QStringLiteral("ファイルの読み込みでエラーが発生しました [") % path
            % QStringLiteral("]\r\n処理を続行しますか？");
    }
};
