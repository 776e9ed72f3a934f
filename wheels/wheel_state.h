#pragma once
// What the two wheels tell each other and the frame between runs.
#include "screen/shown_for_a_while.h"

#include <array>
#include <cstdint>
#include <string>

extern int32_t currentWeaponIndex; // the player's current weapon record, 0 without a player
extern bool weaponWheelVisible;    // the weapon wheel's last run drew it
extern bool radioWheelVisible;     // the radio wheel's last run drew it
extern ShownForAWhile weaponWheelShown;
extern ShownForAWhile radioWheelShown;

// Names from WEAPON_NAMES by weapon type and from RADIO_NAMES by station; an entry keeps its
// name until a later list reaches it again.
extern std::array<std::string, 13> weaponNameTable;
extern std::array<std::string, 12> radioNameTable;
// Weapon records 1-12 the player carries (index 0 unused).
extern std::array<bool, 13> weaponPresent;

void runWeaponWheel(); // weapon_wheel.cpp
void runRadioWheel();  // radio_wheel.cpp
