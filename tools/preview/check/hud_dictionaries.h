#pragma once
// The texture dictionaries the HUD loads from tarvel_moravik\, and which of them the game would
// load as holding nothing.
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace preview {

constexpr const char* hudDictionaryNames[] = {"tarvel_iii", "ring_iii", "radio_iii", "phone_iii"};

// The dictionaries of the folder (a game directory's tarvel_moravik) that the game loads as
// holding nothing, by name, with why ("is missing", "cannot be read (...)").
std::vector<std::pair<std::string, std::string>>
unusableDictionaries(const std::filesystem::path& folder);

} // namespace preview
