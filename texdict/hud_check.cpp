#include "texdict/hud_check.h"

#include "config/edit_distance.h"

#include <algorithm>
#include <cstdio>
#include <string_view>

namespace texdict {
namespace {

std::string quoted(const std::string& name) {
    return "'" + name + "'";
}

// What the HUD draws with the texture it looks up by this name.
std::string shownBy(const HudDictionaryNames& hud, const std::string& name) {
    for (int i = 0; i < hud.namedCount; ++i)
        if (hud.named[i].name == name) return hud.named[i].shows;
    for (int i = 0; i < hud.numberedCount; ++i) {
        if (std::to_string(i) != name) continue;
        char text[96];
        std::snprintf(text, sizeof text, hud.numberedShow, i);
        return text;
    }
    return "";
}

// The name a modder most likely meant to write: close to the one written, up to two letters
// off and never most of it ("12" is no misspelt "13").
const std::string* meant(const std::string& written, const std::vector<std::string>& candidates) {
    const std::string* best = nullptr;
    size_t bestDistance = 3;
    for (const auto& candidate : candidates) {
        const size_t distance = editDistance(lowered(written), lowered(candidate), 2);
        if (distance < bestDistance && distance * 3 <= std::max(written.size(), candidate.size())) {
            best = &candidate;
            bestDistance = distance;
        }
    }
    return best;
}

int nextSide(int side) {
    int next = 1;
    while (next < side && next < maxSide)
        next *= 2;
    return next;
}

// Sides and names that differ only in case: what the game cannot use whatever the HUD wants.
void checkTexture(const Dictionary& dictionary, size_t index, std::vector<Finding>& findings) {
    const Texture& t = dictionary.textures[index];
    if (std::string sides = unusableSides(t.name, t.width, t.height); !sides.empty())
        findings.push_back({true, std::move(sides)});
    for (size_t j = 0; j < index; ++j)
        if (lowered(dictionary.textures[j].name) == lowered(t.name)) {
            findings.push_back({true, quoted(dictionary.textures[j].name) + " and " +
                                          quoted(t.name) +
                                          " are one name to the game, which ignores case: it "
                                          "draws only one of them; rename or leave out the other"});
            break;
        }
}

} // namespace

std::string unusableSides(const std::string& name, int width, int height) {
    if (sideTheGameTakes(width) && sideTheGameTakes(height)) return "";
    return quoted(name) + " is " + std::to_string(width) + " x " + std::to_string(height) +
           ": the game takes sides that are powers of two from 1 to " + std::to_string(maxSide) +
           "; make it " + std::to_string(nextSide(width)) + " x " +
           std::to_string(nextSide(height));
}

const HudDictionaryNames* hudDictionaryNamed(const std::filesystem::path& file) {
    const std::string name = lowered(utf8Path(file.filename()));
    for (const auto& hud : hudDictionaries)
        if (fileNameOf(hud) == name) return &hud;
    return nullptr;
}

std::string fileNameOf(const HudDictionaryNames& hud) {
    const std::string_view path = hud.path;
    return std::string(path.substr(path.rfind('\\') + 1));
}

std::vector<std::string> namesLookedUp(const HudDictionaryNames& hud) {
    std::vector<std::string> names;
    for (int i = 0; i < hud.numberedCount; ++i)
        names.push_back(std::to_string(i));
    for (int i = 0; i < hud.namedCount; ++i)
        names.push_back(hud.named[i].name);
    return names;
}

std::vector<Finding> checkForTheGame(const Dictionary& dictionary) {
    std::vector<Finding> findings;
    for (size_t i = 0; i < dictionary.textures.size(); ++i)
        checkTexture(dictionary, i, findings);
    return findings;
}

std::vector<Finding> checkAgainstHud(const Dictionary& dictionary, const HudDictionaryNames& hud) {
    const std::vector<std::string> names = namesLookedUp(hud);
    // The name the HUD looks up that the game takes this one for (case aside), or null.
    const auto lookedUpAs = [&](const std::string& name) -> const std::string* {
        for (const auto& candidate : names)
            if (lowered(candidate) == lowered(name)) return &candidate;
        return nullptr;
    };
    std::vector<std::string> missing;
    for (const auto& name : names)
        if (std::none_of(dictionary.textures.begin(), dictionary.textures.end(),
                         [&](const Texture& t) { return lowered(t.name) == lowered(name); }))
            missing.push_back(name);

    std::vector<Finding> findings;
    for (size_t i = 0; i < dictionary.textures.size(); ++i) {
        checkTexture(dictionary, i, findings);
        const std::string& name = dictionary.textures[i].name;
        if (const std::string* looked = lookedUpAs(name)) {
            if (*looked != name)
                findings.push_back({false, quoted(name) + " is found as " + quoted(*looked) +
                                               ": the game ignores case in names"});
        } else if (const std::string* guess = meant(name, missing)) {
            findings.push_back({true, quoted(name) + " is never looked up: did you mean " +
                                          quoted(*guess) +
                                          "? Until one is named so, the HUD draws " +
                                          shownBy(hud, *guess) + " without a picture"});
            missing.erase(missing.begin() + (guess - missing.data()));
        } else {
            findings.push_back({true, quoted(name) +
                                          " is never looked up: the HUD draws it nowhere; name "
                                          "it as one of the names `texdict --help` lists, or "
                                          "leave it out"});
        }
    }
    for (const auto& name : missing)
        findings.push_back({true, quoted(name) + " is missing: the HUD draws " +
                                      shownBy(hud, name) +
                                      " without a picture; add a texture named " + quoted(name)});
    return findings;
}

} // namespace texdict
