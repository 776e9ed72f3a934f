#pragma once
// Arithmetic as the game does it. The build uses SSE, which rounds every step to its type; the
// explicit stores keep that true for a build with x87 arithmetic, whose intermediate results
// stay wider until stored and could land a truncated pixel one away from the game's.
#include <cmath>
#include <cstdint>

inline float roundedToFloat(float value) {
    volatile float stored = value;
    return stored;
}

inline double roundedToDouble(double value) {
    volatile double stored = value;
    return stored;
}

// Truncation toward zero to a 32-bit integer that saturates instead of overflowing: values
// typed into a configuration file can be anything, not a number included (which gives 0).
inline int32_t truncateToInt(float value) {
    if (std::isnan(value)) return 0;
    if (value >= 2147483648.0f) return INT32_MAX;
    if (value <= -2147483648.0f) return INT32_MIN;
    return static_cast<int32_t>(value);
}

inline int32_t truncateToInt(double value) {
    if (std::isnan(value)) return 0;
    if (value >= 2147483648.0) return INT32_MAX;
    if (value <= -2147483649.0) return INT32_MIN;
    return static_cast<int32_t>(value);
}

// The same, back as a float: a whole number of pixels or layout units.
inline float truncated(float value) {
    return static_cast<float>(truncateToInt(value));
}
