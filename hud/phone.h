#pragma once
// The phone's own state, beside drawPhone (hud_drawers.h).

// Puts the phone away at once, with no slide.
void putPhoneAway();
