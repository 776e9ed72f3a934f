#pragma once

// One HUD frame: keeps the game's own HUD switched off, brings the settings up to date with their
// files, and draws every element in its fixed order. Runs after the game's own HUD drawing call.
void HudFrame();

// The vertical offset of the area, vehicle and mission names: they move up while the game shows
// mission timers.
int titleOffset();
