#pragma once
// The time of day in the game world, as the phone's clock shows it.
#include <cstdint>

namespace sim {

// Written at the running build's own addresses (nothing for an unknown build).
void setTimeOfDay(uint8_t hour, uint8_t minute);

} // namespace sim
