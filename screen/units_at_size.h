#pragma once
// Layout units on a screen of a given size: every position and size in the settings is given
// for a reference screen and becomes pixels here, in single precision, in this order. The HUD
// asks them at the host's size (units.h); the preview's editor at the size of a frame.
#include "screen/exact_arithmetic.h"

// A horizontal length in units of a 640-wide 4:3 screen.
inline float unitX(float v, float w, float h) {
    return w * v / 640.0f * 1.3333334f / (w / h);
}

// A vertical length in units of a 448-high screen.
inline float unitY(float v, float h) {
    return h * v / 448.0f;
}

// A length in units of a 1080-pixel short screen side, before it is cut to whole pixels.
inline float unit1080Uncut(float v, float w, float h) {
    const float shortSide = w < h ? w : h;
    return v * shortSide / 1080.0f;
}

// The same, cut to whole pixels, as the HUD draws it.
inline float unit1080(float v, float w, float h) {
    return truncated(unit1080Uncut(v, w, h));
}
