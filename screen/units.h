#pragma once
// Layout units at the host's screen size, read afresh on every use.
#include "host/host_interface.h"
#include "screen/units_at_size.h"

inline float UnitX(float v) {
    return unitX(v, host::screenWidth(), host::screenHeight());
}

inline float UnitY(float v) {
    return unitY(v, host::screenHeight());
}

inline float Unit1080(float v) {
    return unit1080(v, host::screenWidth(), host::screenHeight());
}

// A colour's red, green and blue with another alpha.
inline Rgba withAlpha(const Rgba& colour, uint8_t alpha) {
    return {colour.r, colour.g, colour.b, alpha};
}
