// The HUD on/off button on pad 1. It runs while the HUD is hidden too, so the same button
// brings it back.
#include "host/host_interface.h"
#include "hud/hud_drawers.h"

void pollHudToggle() {
    const uint8_t* pad = host::pad(1);
    if (!pad) return;
    if (host::hudToggleButtonDown(pad) && !host::hudToggleButtonWasDown(pad)) {
        uint8_t& shown = host::hudShownByte();
        shown = shown != 0 ? 0 : 1;
    }
}
