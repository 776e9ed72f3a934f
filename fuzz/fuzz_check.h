#pragma once

#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// Unlike assert, stays on in every build type; abort makes libFuzzer keep the input.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition);     \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

// Bit for bit: -0 differs from 0, and a NaN equals its own copy.
inline bool sameFloat(float a, float b) {
    return std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b);
}
