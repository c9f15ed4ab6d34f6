#pragma once

#include <functional>

// Runs work on a later turn of the event loop, after what is waiting now (input, painting,
// timers), so that a long job done in pieces leaves the window answering between them.
class TaskQueue
{
public:
    virtual ~TaskQueue() = default;
    // Tasks run in the order posted; those still waiting when the queue goes never run.
    virtual void post(std::function<void()> task) = 0;
    // The same, but not before the given time has passed.
    virtual void postAfter(int milliseconds, std::function<void()> task) = 0;
};
