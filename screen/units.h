#pragma once
// Layout units: every position and size in the settings is given for a reference screen and
// becomes pixels here, with the screen size read afresh on every use.
#include "host/host_interface.h"
#include "screen/exact_arithmetic.h"

// A horizontal length in units of a 640-wide 4:3 screen (in single precision, in this order).
inline float UnitX(float v) {
    const float w = host::screenWidth();
    const float h = host::screenHeight();
    return w * v / 640.0f * 1.3333334f / (w / h);
}

// A vertical length in units of a 448-high screen.
inline float UnitY(float v) {
    return host::screenHeight() * v / 448.0f;
}

// A length in units of a 1080-pixel short screen side, cut to whole pixels.
inline float Unit1080(float v) {
    const float w = host::screenWidth();
    const float h = host::screenHeight();
    const float shortSide = w < h ? w : h;
    return truncated(v * shortSide / 1080.0f);
}

// A colour's red, green and blue with another alpha.
inline Rgba withAlpha(const Rgba& colour, uint8_t alpha) {
    return {colour.r, colour.g, colour.b, alpha};
}
