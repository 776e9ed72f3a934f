#pragma once
#include "patch/scoped.h"

// The game's own HUD code the frames switch off: two routines made to return at once and two
// bytes made NOPs, saved before the first write. The working copy owns it; as it ends, each goes
// back where it still holds the plug-in's bytes.
struct GameHudSwitchedOff {
    GameHudSwitchedOff();
    ~GameHudSwitchedOff();
    GameHudSwitchedOff(const GameHudSwitchedOff&) = delete;
    GameHudSwitchedOff& operator=(const GameHudSwitchedOff&) = delete;
    patch::scoped_written<4> routineA;
    patch::scoped_written<4> routineB;
    patch::scoped_written<1> byteA;
    patch::scoped_written<1> byteB;
};

// One HUD frame: keeps the game's own HUD switched off, brings the settings up to date with their
// files, and draws every element in its fixed order. Runs after the game's own HUD drawing call.
void HudFrame();

// The vertical offset of the area, vehicle and mission names: they move up while the game shows
// mission timers.
int titleOffset();
