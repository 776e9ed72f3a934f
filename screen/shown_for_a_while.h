#pragma once
// Something the HUD shows for a while after a trigger. The time since the trigger is the
// unsigned difference of two game clock values, so the clock's 32-bit wrap is crossed as
// nothing, and a clock that went back (a saved game loaded) reads as long past: nothing from
// before it stays on screen. A start of the game ends every one of them at once (hud_plugin.cpp).
#include <cstdint>

struct ShownForAWhile {
    bool triggered = false;
    uint32_t triggeredAt = 0; // game clock, milliseconds
};

void trigger(ShownForAWhile& shown, uint32_t now);
// Milliseconds since the trigger, or UINT32_MAX when it was never triggered or has ended.
uint32_t timeSinceTrigger(const ShownForAWhile& shown, uint32_t now);
// Shown until duration has passed since the trigger, that frame included.
bool shownAt(const ShownForAWhile& shown, uint32_t now, uint32_t duration);
