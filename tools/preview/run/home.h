#pragma once
// What this program renders with lies beside it in the build, and in the release it ships in
// tools\ inside the folder a player installs: the plug-in (tarvel_hud.asi or tarvel_hud.dll),
// the configuration and its dictionaries one folder up.
#include <filesystem>

namespace preview {

struct Home {
    std::filesystem::path folder;   // this program's
    std::filesystem::path plugin;   // the plug-in to render with
    std::filesystem::path symbols;  // its symbol table, which tells the HUD's elements apart
    std::filesystem::path shipped;  // a folder holding the shipped tarvel_moravik folder
    std::filesystem::path scenario; // the default scenario
    std::filesystem::path dictionaries;
};

Home findHome(const std::filesystem::path& folder);

} // namespace preview
