#pragma once
// A player actor record with nothing readable after it, to show that no read goes past it.
#include "sim/sim.h"

namespace sim {

// From now until the next layOut, the player actor routine hands out a copy of the actor
// record (refreshed on every call) whose last byte is the last readable byte of its memory:
// a read past the record faults. Set the player's weapons before or after; absence is ignored.
void guardPlayerRecord();

} // namespace sim
