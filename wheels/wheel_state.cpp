#include "wheels/wheel_state.h"

int32_t currentWeaponIndex = 0;
bool weaponWheelVisible = false;
bool radioWheelVisible = false;
int32_t weaponWheelDeadline = 0;
int32_t radioWheelDeadline = 0;
