#pragma once
// The texture dictionaries the HUD loads from tarvel_moravik\, and which of them the game would
// load as holding nothing.
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace preview {

// Their names without folder and extension ("tarvel_iii"), from the table the plug-in loads by.
std::vector<std::string> hudDictionaryStems();

// The dictionaries of the folder (a game directory's tarvel_moravik) that the game loads as
// holding nothing, by name, with why ("is missing", "cannot be read (...)").
std::vector<std::pair<std::string, std::string>>
unusableDictionaries(const std::filesystem::path& folder);

} // namespace preview
