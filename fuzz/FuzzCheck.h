#pragma once

#include <cstdio>
#include <cstdlib>

// A broken property is a finding like a crash: say which one and abort, so that libFuzzer
// saves the input and the replay under ctest fails.
inline void fuzzCheck(bool holds, const char *property)
{
    if (holds)
        return;
    std::fprintf(stderr, "property broken: %s\n", property);
    std::abort();
}
