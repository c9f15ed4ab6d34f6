#pragma once

#include "platform/TaskQueue.h"

#include <QObject>

// Posts tasks to the Qt event loop of the thread that made the queue.
class QtTaskQueue : public TaskQueue
{
public:
    void post(std::function<void()> task) override;
    void postAfter(int milliseconds, std::function<void()> task) override;

private:
    QObject m_context; // pending tasks are dropped with it
};
