#pragma once
// What the aim tests read back from the simulated game's call log.
#include "host/host_interface.h"
#include "sim/sim.h"

#include <string>
#include <vector>

namespace aim_testing {

// The drawing calls in order: render states with their arguments, sprite calls by name only.
std::vector<std::string> drawingCalls();
// A call as text without its object, whose address differs from run to run.
std::string withoutObject(const sim::HostCall& call);
// The log from the first call of the routine on, one call a line, objects left out.
std::string logFrom(const std::string& routine);
// The first 32-bit field of the sprite's texture, as the game keeps it.
uint32_t rasterOf(const HostSprite& sprite);
// A sprite call's rectangle (left, bottom, right, top), to a hundredth of a pixel.
void expectRect(const sim::HostCall& call, double left, double bottom, double right, double top);

} // namespace aim_testing
