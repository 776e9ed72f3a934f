#include "wheels/wheel_state.h"

int32_t currentWeaponIndex = 0;
bool weaponWheelVisible = false;
bool radioWheelVisible = false;
ShownForAWhile weaponWheelShown;
ShownForAWhile radioWheelShown;

std::array<std::string, 13> weaponNameTable;
std::array<std::string, 12> radioNameTable;
std::array<bool, 13> weaponPresent{};
