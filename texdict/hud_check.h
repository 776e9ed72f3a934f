#pragma once
// A dictionary held up against the names the HUD looks up in it: what the HUD will not find,
// what it never draws, and what the game cannot use. Portable C++.
#include "texdict/hud_texture_names.h"
#include "texdict/texdict.h"

#include <filesystem>
#include <string>
#include <vector>

namespace texdict {

// The HUD's dictionary a file of this name is (folder and case aside, as Windows names files),
// or null for any other file.
const HudDictionaryNames* hudDictionaryNamed(const std::filesystem::path& file);
// "tarvel_iii.txd"
std::string fileNameOf(const HudDictionaryNames& hud);
// Every name the HUD looks up in it, in the order the plug-in looks them up.
std::vector<std::string> namesLookedUp(const HudDictionaryNames& hud);

struct Finding {
    // False for a note: the game does what the modder meant all the same.
    bool problem;
    std::string text;
};

// The textures' findings in file order, then the names the dictionary lacks.
std::vector<Finding> checkAgainstHud(const Dictionary& dictionary, const HudDictionaryNames& hud);
// Why the game cannot use a texture of this name and these sides, with the sides to give it;
// "" when it takes them.
std::string unusableSides(const std::string& name, int width, int height);
// Sizes and names the game cannot use, for a dictionary of no known name.
std::vector<Finding> checkForTheGame(const Dictionary& dictionary);

} // namespace texdict
