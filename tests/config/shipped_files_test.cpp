#include <algorithm>
#include <cstdint>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <type_traits>

#include <gtest/gtest.h>

#include "config/hud_settings.h"
#include "config_test_support.h"

namespace {

// The build places a copy of data/tarvel_moravik here.
const std::string shippedRoot = "shipped";
const std::string shippedFolder = shippedRoot + "/tarvel_moravik/";

// The shipped name lists: the built-in "Nullss" names nothing, while the shipped file names
// every weapon slot and station.
const char shippedWeaponNames[] = "Fist,Bat,Pistol,SMG,Shotgun,Assault Rifle,Rifle,Sniper Rifle,"
                                  "Rocket Launcher,Flamethrower,Firebomb,Grenade,Detonator,";
const char shippedRadioNames[] = "Harbour Sound,Tin Lantern FM,Rail Yard Radio,K-Static,"
                                 "Neon Avenue,Lullaby 98,Parley Talk 88,Drift 101,"
                                 "Brass District,Underpass,Old Harbour Jazz,Radio Off,";

std::multiset<std::string> keysOf(const IniReader& reader) {
    std::multiset<std::string> keys;
    for (const IniEntry& entry : reader.entries())
        keys.emplace(entry.key);
    return keys;
}

IniReader loadShipped(const std::string& name) {
    IniReader reader;
    reader.load((shippedFolder + name).c_str());
    return reader;
}

TEST(ShippedFiles, NameListsFillTheWheelTables) {
    const HudSettings builtIn;
    // One comma ends each name: 13 weapon slots, 12 stations.
    const auto names = [](std::string_view list) {
        return std::count(list.begin(), list.end(), ',');
    };
    EXPECT_EQ(names(shippedWeaponNames), 13);
    EXPECT_EQ(names(shippedRadioNames), 12);
    EXPECT_EQ(names(builtIn.WEAPON_NAMES), 0);
}

// The numbers of a value as the file spells them, read without the plug-in's reader.
std::vector<std::string> wordsOf(std::string_view value) {
    std::istringstream in{std::string(value)};
    std::vector<std::string> words;
    for (std::string word; in >> word;)
        words.push_back(word);
    return words;
}

// The keys whose line has a comment above it: a comment, then only key lines up to it.
std::set<std::string> commentedKeys(const std::string& path) {
    std::ifstream in(path);
    std::set<std::string> keys;
    bool commented = false;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#' || line[0] == ';') {
            commented = !line.empty();
            continue;
        }
        const auto equals = line.find('=');
        if (commented && equals != std::string::npos)
            keys.insert(std::string(wordsOf(line.substr(0, equals)).at(0)));
    }
    return keys;
}

// Every key the plug-in reads is in the layout file once, under a comment, and the plug-in
// reads each as the file spells it: no value quietly falls back to its built-in default.
TEST(ShippedFiles, LayoutHoldsEveryKeyWithItsCommentAndReadsAsWritten) {
    const IniReader reader = loadShipped("tarvel_III.ini");
    resolverLog = {shippedRoot, {}};
    HudSettings loaded;
    loadSettingsWith(loaded, resolveUnderRoot);
    const std::set<std::string> commented = commentedKeys(shippedFolder + "tarvel_III.ini");

    std::multiset<std::string> expectedKeys;
    forEachSettingsField([&](std::string_view key, auto field) {
        SCOPED_TRACE(std::string(key));
        expectedKeys.emplace(key);
        EXPECT_TRUE(commented.count(std::string(key)));
        using Field = std::remove_reference_t<decltype(std::declval<HudSettings&>().*field)>;
        const auto& value = loaded.*field;
        const std::vector<std::string> words = wordsOf(reader.find(key).value);
        if constexpr (std::is_same_v<Field, FloatPair>) {
            ASSERT_EQ(words.size(), 2u);
            EXPECT_EQ(value.x, std::stof(words[0]));
            EXPECT_EQ(value.y, std::stof(words[1]));
        } else if constexpr (std::is_same_v<Field, float>) {
            ASSERT_EQ(words.size(), 1u);
            EXPECT_EQ(value, std::stof(words[0]));
        } else if constexpr (std::is_same_v<Field, std::int32_t> || std::is_same_v<Field, bool>) {
            ASSERT_EQ(words.size(), 1u);
            EXPECT_EQ(value, static_cast<Field>(std::stoi(words[0])));
        } else {
            EXPECT_EQ(std::string_view(value), reader.find(key).value);
        }
    });
    EXPECT_EQ(keysOf(reader), expectedKeys);
    EXPECT_EQ(std::string_view(loaded.WEAPON_NAMES), shippedWeaponNames);
    EXPECT_EQ(std::string_view(loaded.RADIO_NAMES), shippedRadioNames);

    // The colours the layout's radar style picks read as their file spells them too.
    const IniReader colours = loadShipped("color_configs/VColors.ini");
    forEachColorField([&](std::string_view key, Rgba HudColors::*field) {
        const std::vector<std::string> words = wordsOf(colours.find(key).value);
        ASSERT_EQ(words.size(), 4u) << key;
        const Rgba written{
            static_cast<uint8_t>(std::stoi(words[0])), static_cast<uint8_t>(std::stoi(words[1])),
            static_cast<uint8_t>(std::stoi(words[2])), static_cast<uint8_t>(std::stoi(words[3]))};
        EXPECT_EQ(loaded.colors.*field, written) << key;
    });
}

TEST(ShippedFiles, BothSchemesDefineEveryColourOnceAndCompletely) {
    std::multiset<std::string> expectedKeys;
    forEachColorField([&](std::string_view key, auto) { expectedKeys.emplace(key); });
    for (const char* name : {"color_configs/VColors.ini", "color_configs/IIIColors.ini"}) {
        SCOPED_TRACE(name);
        const IniReader reader = loadShipped(name);
        EXPECT_EQ(keysOf(reader), expectedKeys);
        for (const IniEntry& entry : reader.entries()) {
            const std::vector<std::int32_t> parts = entry.asIntList();
            EXPECT_EQ(parts.size(), 4u) << entry.key;
            for (std::int32_t part : parts)
                EXPECT_TRUE(part >= 0 && part <= 255) << entry.key;
        }
    }
}

// The modern scheme's opening comment names each key whose built-in colour differs from the
// file's, so that a player who deletes a line knows what changes.
TEST(ShippedFiles, ModernSchemeNamesTheKeysWhoseBuiltInColourDiffers) {
    std::ifstream in(shippedFolder + "color_configs/VColors.ini");
    std::string opening;
    for (std::string line; std::getline(in, line) && !line.empty() && line[0] == '#';)
        opening += line + "\n";
    HudColors shipped;
    readColors(shipped, loadShipped("color_configs/VColors.ini"));
    const HudColors builtIn;
    forEachColorField([&](std::string_view key, Rgba HudColors::*field) {
        const bool named = opening.find(std::string(key) + " ") != std::string::npos;
        EXPECT_EQ(named, !(shipped.*field == builtIn.*field)) << key << "\n" << opening;
    });
}

TEST(ShippedFiles, ClassicSchemeIsASchemeOfItsOwn) {
    HudColors classic;
    readColors(classic, loadShipped("color_configs/IIIColors.ini"));
    const HudColors modern;
    int differing = 0;
    forEachColorField([&](std::string_view, Rgba HudColors::*field) {
        differing += classic.*field == modern.*field ? 0 : 1;
    });
    EXPECT_GT(differing, 11) << "most classic colours should differ from the modern ones";
}

} // namespace
