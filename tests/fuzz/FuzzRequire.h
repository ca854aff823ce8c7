#pragma once

#include <cstdlib>

// A fuzz target's check: libFuzzer reports the abort with the input and the stack that led to it.
inline void require(bool condition)
{
    if (!condition) {
        std::abort();
    }
}
