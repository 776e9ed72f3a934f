#pragma once
// A moment of play in which every HUD element has something to show: for endurance runs,
// benchmarks and bad-input runs that must drive every element.
#include <cstdint>

namespace sim {

// Sets up the player, vehicle, texts, timers and inputs so that every element draws.
void showEverything();
// Holds the keys showEverything holds again. Wine may set a thread's key state back to the
// desktop's when other programs come and go, so long play holds them again every frame.
void holdBusyKeys();
// One frame of such play: time moves on and the game posts again what the HUD has used up.
void advanceBusyFrame(uint32_t milliseconds = 20);

} // namespace sim
