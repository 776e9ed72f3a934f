#pragma once
// The run inside the game directory: plays the scenario at every size with the plug-in loaded,
// writes the frames and the page's data, and prints what the check found.
#include "tools/preview/run/run_options.h"
#include "tools/preview/scenario/scenario.h"

namespace preview {

// Plays once, or under --watch again on every request of the watching process, which ends it.
// 0 when every frame was written (and, with --check, nothing was found).
int playHere(const Options& options, const Scenario& scenario);

} // namespace preview
