#pragma once
// A small made-up town for the radar, for a host process playing a scenario.
#include "tools/preview/render/renderer.h"

namespace preview {

// The radar's contents as the game would draw them, through the radar routines at their game
// addresses (the plug-in's once it has taken them over): a small map, the player and blips.
void drawRadarMap(Image& canvas);

} // namespace preview
