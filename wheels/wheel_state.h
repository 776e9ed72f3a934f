#pragma once
// What the two wheels tell each other and the frame between runs.
#include <cstdint>

extern int32_t currentWeaponIndex; // the player's current weapon record, 0 without a player
extern bool weaponWheelVisible;    // the weapon wheel's last run drew it
extern bool radioWheelVisible;     // the radio wheel's last run drew it
extern int32_t weaponWheelDeadline;
extern int32_t radioWheelDeadline;

void runWeaponWheel(); // weapon_wheel.cpp
void runRadioWheel();  // radio_wheel.cpp
