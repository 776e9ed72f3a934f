#pragma once
// The money and ammo panels: shown on demand, then faded out. drawMoneyAndAmmoPanels (in
// hud_drawers.h) schedules both once a frame.
#include <cstdint>

// One panel's window on the game clock, in milliseconds.
struct PanelTimer {
    int32_t showUntil; // fully opaque before this
    int32_t fadeUntil; // showUntil + 255: fading before this
    int32_t alpha;     // this frame's opacity, 0..255
};

extern PanelTimer moneyPanel;
extern PanelTimer ammoPanel;

// gap: layout units down, made room for the wanted stars. lift: layout units up, into the
// money panel's place while it is not fully shown.
void drawMoneyPanel(int32_t gap);
void drawAmmoPanel(int32_t gap, float lift);
