#pragma once
// The lines of a HUD configuration the plug-in cannot use as written. It never says so itself:
// such a line, or a whole file it cannot read, quietly takes the built-in defaults.
#include <string>
#include <vector>

namespace preview {

struct SettingsProblem {
    std::string file;    // as the plug-in names it, relative to the game directory
    int line = 0;        // counted from 1; 0 when the whole file is at fault
    std::string text;    // the line as written
    std::string message; // what the plug-in makes of it
};

// The layout file and the colour file its RADAR_TYPE selects, under gameDirectory (which ends
// in a path separator), in file order.
std::vector<SettingsProblem> findSettingsProblems(const std::string& gameDirectory);

} // namespace preview
