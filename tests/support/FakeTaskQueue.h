#pragma once

#include "platform/TaskQueue.h"

#include <deque>
#include <vector>

// Keeps posted tasks until the test runs them, as turns of an event loop would.
class FakeTaskQueue : public TaskQueue
{
public:
    void post(std::function<void()> task) override { tasks.push_back(std::move(task)); }
    // Time passes as the test runs the tasks: a delayed task simply waits its turn.
    void postAfter(int milliseconds, std::function<void()> task) override
    {
        delays.push_back(milliseconds);
        post(std::move(task));
    }

    // Runs the tasks waiting now, and those they post, until none is left; returns how many ran.
    int runAll()
    {
        int ran = 0;
        for (; !tasks.empty(); ++ran) {
            auto task = std::move(tasks.front());
            tasks.pop_front();
            task();
        }
        return ran;
    }

    std::deque<std::function<void()>> tasks;
    std::vector<int> delays; // of every postAfter so far
};
