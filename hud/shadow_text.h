#pragma once
// Texts printed twice: a dark copy first, then the text over it. Each copy has its own
// position, because the offsets are layout units worked out separately from the text's.
#include "config/ini_reader.h"

struct TextPoint {
    float x, y;
};

// The text in colour at a point, with the game's current text state.
void printInColour(const char16_t* text, const Rgba& colour, TextPoint at);

void printShadowed(const char16_t* text, const Rgba& shadow, TextPoint shadowAt, const Rgba& colour,
                   TextPoint at);
