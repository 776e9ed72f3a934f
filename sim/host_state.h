#pragma once
// The simulator's own wiring between its parts; tests use sim.h and host_data.h.
#include "sim/sim.h"

namespace sim {

void layOutHostRoutines();
void resetHostState();

} // namespace sim
