#pragma once
// The money and ammo panels: shown on demand, then faded out. drawMoneyAndAmmoPanels (in
// hud_drawers.h) schedules both once a frame.
#include "screen/shown_for_a_while.h"

#include <cstdint>

// One panel: fully opaque for a while after its trigger, then fading for 255 ms.
struct PanelTimer {
    ShownForAWhile shown;
    int32_t alpha = 0; // this frame's opacity, 0..255
};

extern PanelTimer moneyPanel;
extern PanelTimer ammoPanel;

// gap: layout units down, made room for the wanted stars. lift: layout units up, into the
// money panel's place while it is not fully shown.
void drawMoneyPanel(int32_t gap);
void drawAmmoPanel(int32_t gap, float lift);
