#pragma once
// Texts printed twice: a dark copy first, then the text over it. Each copy has its own
// position, because the offsets are layout units worked out separately from the text's.
#include "config/ini_reader.h"

#include <cstdint>

struct TextPoint {
    float x, y;
};

// The text in colour at a point, with the game's current text state.
void printInColour(const char16_t* text, const Rgba& colour, TextPoint at);

void printShadowed(const char16_t* text, const Rgba& shadow, TextPoint shadowAt, const Rgba& colour,
                   TextPoint at);

// The font of the area, vehicle and mission names. The game has fonts 0, 1 and 2 and indexes its
// table with the number, so any other configured number gives the default font 1.
int16_t nameFont(int32_t configured);
