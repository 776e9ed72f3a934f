#include "wheels/wheel_state.h"

int32_t currentWeaponIndex = 0;
bool weaponWheelVisible = false;
bool radioWheelVisible = false;
int32_t weaponWheelDeadline = 0;
int32_t radioWheelDeadline = 0;

std::array<std::string, 13> weaponNameTable;
std::array<std::string, 12> radioNameTable;
std::array<bool, 13> weaponPresent{};
