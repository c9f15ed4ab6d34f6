#pragma once

#include <csignal>
#include <cstdlib>
#include <unistd.h>

// Ends the test program when a call does not return in time. A read that blocks (a FIFO, a
// device) would otherwise hang the run until the harness kills it, with no hint of where.
class Deadline
{
public:
    explicit Deadline(unsigned seconds)
    {
        std::signal(SIGALRM, &Deadline::expired);
        ::alarm(seconds);
    }
    ~Deadline() { ::alarm(0); }
    Deadline(const Deadline &) = delete;
    Deadline &operator=(const Deadline &) = delete;

private:
    static void expired(int)
    {
        static const char message[] = "FAIL: a call blocked past its deadline\n";
        [[maybe_unused]] const auto written = ::write(STDERR_FILENO, message, sizeof message - 1);
        std::_Exit(EXIT_FAILURE);
    }
};
