#include "hud/shadow_text.h"
#include "host/host_interface.h"

void printInColour(const char16_t* text, const Rgba& colour, TextPoint at) {
    host::setTextColour(colour);
    host::printHostText(at.x, at.y, text);
}

void printShadowed(const char16_t* text, const Rgba& shadow, TextPoint shadowAt, const Rgba& colour,
                   TextPoint at) {
    printInColour(text, shadow, shadowAt);
    printInColour(text, colour, at);
}

int16_t nameFont(int32_t configured) {
    return configured >= 0 && configured <= 2 ? static_cast<int16_t>(configured) : 1;
}
