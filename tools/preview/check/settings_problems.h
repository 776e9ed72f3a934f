#pragma once
// The lines of a HUD configuration the plug-in cannot use as written: the findings the plug-in
// writes to its log, as the preview's page lists them.
#include "config/settings_findings.h"

#include <string>
#include <vector>

namespace preview {

using SettingsProblem = SettingsFinding;

// The layout file and the colour file its RADAR_TYPE selects, under gameDirectory (which ends
// in a path separator), in file order.
inline std::vector<SettingsProblem> findSettingsProblems(const std::string& gameDirectory) {
    return findSettingsFindings(gameDirectory);
}

} // namespace preview
