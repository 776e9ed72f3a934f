#include <algorithm>
#include <cstdint>
#include <set>
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

// The shipped layout holds the built-in values, except for the name lists: the built-in
// "Nullss" names nothing, while the shipped file names every weapon slot and station.
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

TEST(ShippedFiles, LayoutAndModernSchemeHoldTheBuiltInValues) {
    resolverLog = {shippedRoot, {}};
    HudSettings loaded;
    loadSettingsWith(loaded, resolveUnderRoot);

    HudSettings expected;
    expected.WEAPON_NAMES = shippedWeaponNames;
    expected.RADIO_NAMES = shippedRadioNames;
    expectSameSettings(loaded, expected);
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

// Every key the loader reads is in the layout file once, with every number it takes.
TEST(ShippedFiles, LayoutDefinesEveryKeyOnceAndCompletely) {
    const IniReader reader = loadShipped("tarvel_III.ini");
    std::multiset<std::string> expectedKeys;
    forEachSettingsField([&](std::string_view key, auto field) {
        expectedKeys.emplace(key);
        using Field = std::remove_reference_t<decltype(std::declval<HudSettings&>().*field)>;
        const IniEntry entry = reader.find(key);
        if constexpr (std::is_same_v<Field, FloatPair>)
            EXPECT_EQ(entry.asFloatList().size(), 2u) << key;
        else if constexpr (std::is_same_v<Field, float>)
            EXPECT_EQ(entry.asFloatList().size(), 1u) << key;
        else if constexpr (std::is_same_v<Field, std::int32_t> || std::is_same_v<Field, bool>)
            EXPECT_EQ(entry.asIntList().size(), 1u) << key;
        else
            EXPECT_FALSE(entry.absent) << key;
    });
    EXPECT_EQ(keysOf(reader), expectedKeys);
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
