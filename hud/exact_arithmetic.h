#pragma once
// Arithmetic as the game does it. The x87 unit keeps intermediate results wider than their
// type until they are stored, so a value truncated to whole pixels afterwards could land a
// pixel away from the game's; a store to memory rounds it to its type.
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

// The same, back as a float: a whole number of pixels or layout units.
inline float truncated(float value) {
    return static_cast<float>(truncateToInt(value));
}
