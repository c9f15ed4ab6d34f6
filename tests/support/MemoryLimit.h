#pragma once

#include "ProcStatus.h"

#include <cstdio>
#include <functional>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

// Running out of memory on purpose, in a child process whose address-space limit cannot hurt
// the test program.

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
inline constexpr bool kSanitized = true;
#elif defined(__has_feature)
inline constexpr bool kSanitized
    = __has_feature(address_sanitizer) || __has_feature(thread_sanitizer);
#else
inline constexpr bool kSanitized = false;
#endif

// The sanitizers reserve more address space than any such limit allows.
#define SKIP_UNDER_SANITIZERS()                                                                    \
    do {                                                                                           \
        if (kSanitized)                                                                            \
            QSKIP("the sanitizers reserve more address space than any limit allows");              \
    } while (false)

// Whether body holds in a child process whose address space may grow by headroom bytes beyond
// what it maps now; false too when the child ends by a signal (an abort).
inline bool inChild(qint64 headroom, const std::function<bool()> &body)
{
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        const rlim_t bytes = rlim_t(procStatusKb("VmSize") * 1024 + headroom);
        const rlimit limit {bytes, bytes};
        ::setrlimit(RLIMIT_AS, &limit);
        ::_exit(body() ? 0 : 1);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
