// Whatever a player or modder puts into the configuration folder, the plug-in drives every
// element without crashing the game or handing it anything it would choke on. The simulated
// game fails the test on any non-finite number or unreadable pointer it receives.
#include "config/hud_settings.h"
#include "sim/busy_game.h"
#include "sim/host_data.h"
#include "support/plugin_session.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <type_traits>
#include <vector>

using testing_support::writeDataFile;

namespace {

constexpr int keyR = 0x52;
constexpr int middleMouseButton = 0x04;

// Plays the game with the plug-in loaded: every element, both wheels in turn, the phone, the
// radar and the reload key.
void playEveryElement() {
    testing_support::PluginSession plugin(sim::Build::v100);
    sim::fire(sim::Event::Start);
    sim::fire(sim::Event::RadarPatch);
    sim::showEverything();
    for (int frame = 0; frame < 120; ++frame) {
        if (frame == 60) { // the radio wheel's turn
            sim::setKey(middleMouseButton, false);
            sim::advanceClock(2000);
            sim::setKey(keyR, true);
        }
        sim::advanceBusyFrame();
        sim::clearCalls();
        sim::fire(sim::Event::PhoneDraw);
        sim::fire(sim::Event::HudDraw);
        sim::fire(sim::Event::ReloadKey);
    }
    sim::fire(sim::Event::Shutdown);
    sim::fire(sim::Event::Start);
}

// Every layout key set to the given number (pairs get it twice).
std::string everyNumberSetTo(const std::string& number) {
    std::string layout;
    forEachSettingsField([&](std::string_view key, auto field) {
        using Field = std::remove_cvref_t<decltype(HudSettings{}.*field)>;
        if constexpr (std::is_same_v<Field, std::string> || std::is_same_v<Field, bool>) return;
        layout += std::string(key) + " = " + number;
        if constexpr (std::is_same_v<Field, FloatPair>) layout += " " + number;
        layout += "\n";
    });
    return layout;
}

std::string everyColourSetTo(const std::string& value) {
    std::string colours;
    forEachColorField(
        [&](std::string_view key, auto) { colours += std::string(key) + " = " + value + "\n"; });
    return colours;
}

class BadInput : public testing::Test {
  protected:
    void SetUp() override { testing_support::removeDataFolder(); }
    void TearDown() override {
        testing_support::removeDataFolder();
        EXPECT_TRUE(sim::faults().empty());
    }
};

TEST_F(BadInput, RandomBytesAndNulBytes) {
    std::mt19937 random(20261207);
    std::string noise(64 * 1024, '\0');
    for (char& c : noise)
        c = static_cast<char>(random() & 0xFF);
    writeDataFile("tarvel_III.ini", noise);
    writeDataFile("color_configs\\VColors.ini", noise.substr(0, 4096));
    playEveryElement();

    writeDataFile("tarvel_III.ini",
                  std::string("MONEY_POS_TOP = 3\0\0 0\nRADAR_TYPE\0 = 1\n\0\0\0", 40) +
                      everyNumberSetTo("12\0"
                                       "5"));
    playEveryElement();
}

TEST_F(BadInput, HugeFiles) {
    writeDataFile("tarvel_III.ini", "WEAPON_NAMES = " + std::string(1024 * 1024, 'w') + "\n");
    playEveryElement();

    std::string manyLines;
    for (int i = 0; i < 100000; ++i)
        manyLines += "KEY_" + std::to_string(i) + " = " + std::to_string(i) + "\n";
    writeDataFile("tarvel_III.ini", manyLines);
    playEveryElement();
}

TEST_F(BadInput, AThousandWeaponAndRadioNames) {
    std::string weapons, stations;
    for (int i = 0; i < 1000; ++i) {
        weapons += "Weapon\xE9" + std::to_string(i) + ",";
        stations += "Station " + std::to_string(i) + ",";
    }
    writeDataFile("tarvel_III.ini",
                  "WEAPON_NAMES = " + weapons + "\nRADIO_NAMES = " + stations + "\n");
    playEveryElement();
}

TEST_F(BadInput, NumbersOutOfEveryRange) {
    for (const char* number : {"1e39", "-1e39", "nan", "inf", "-inf", "-0", "3.4e38", "-3.4e38",
                               "1e-45", "99999999999", "-2147483648", "2147483647"}) {
        SCOPED_TRACE(number);
        writeDataFile("tarvel_III.ini", everyNumberSetTo(number));
        playEveryElement();
    }
}

TEST_F(BadInput, HugeRadarTypeAndReloadKey) {
    for (const char* value : {"2147483647", "-2147483648", "99999999999", "-5", "256", "65536"}) {
        SCOPED_TRACE(value);
        writeDataFile("tarvel_III.ini",
                      std::string("RADAR_TYPE = ") + value + "\nRELOAD_SETTINGS = " + value + "\n");
        playEveryElement();
    }
}

TEST_F(BadInput, EveryColourOutOfRange) {
    for (const char* value :
         {"300 -1 99999 -99999", "-2147483648 2147483647 1e39 nan", "", "\"\""}) {
        SCOPED_TRACE(value);
        writeDataFile("color_configs\\VColors.ini", everyColourSetTo(value));
        writeDataFile("color_configs\\IIIColors.ini", everyColourSetTo(value));
        writeDataFile("tarvel_III.ini", "RADAR_TYPE = 1\n");
        playEveryElement();
        writeDataFile("tarvel_III.ini", "RADAR_TYPE = 4\n");
        playEveryElement();
    }
}

TEST_F(BadInput, AWheelScaleThatIsNoPositiveNumber) {
    for (const char* value : {"0", "-1", "nan", "-0", "1e-45", "inf"}) {
        SCOPED_TRACE(value);
        writeDataFile("tarvel_III.ini", std::string("WEAP_WHEEL_SCALE_MULTIPLIER = ") + value +
                                            "\nRADIO_WHEEL_SCALE = " + value + "\n");
        playEveryElement();
    }
}

// The fonts the game is asked for while every element draws, in order.
std::vector<double> fontsOfPlayWithNameFont(const std::string& font) {
    writeDataFile("tarvel_III.ini", "ZONE_VEHICLE_FONT = " + font + "\n");
    testing_support::PluginSession plugin(sim::Build::v100);
    sim::fire(sim::Event::Start);
    sim::showEverything();
    std::vector<double> fonts;
    for (int frame = 0; frame < 60; ++frame) {
        sim::advanceBusyFrame();
        sim::clearCalls();
        sim::fire(sim::Event::HudDraw);
        for (const auto& call : sim::callsTo("setFont"))
            fonts.push_back(call.numbers.at(0));
    }
    return fonts;
}

// The game has fonts 0, 1 and 2 only: any other number gives the default font 1.
TEST_F(BadInput, ANameFontTheGameLacksGivesTheDefaultFont) {
    const auto withDefault = fontsOfPlayWithNameFont("1");
    ASSERT_NE(fontsOfPlayWithNameFont("0"), withDefault) << "no name was drawn";
    for (const char* font : {"3", "7", "-1", "65537", "2147483647"})
        EXPECT_EQ(fontsOfPlayWithNameFont(font), withDefault) << font;
}

TEST_F(BadInput, MissingTextureDictionariesAndAMissingDataFolder) {
    // No data folder at all: every setting takes its default.
    playEveryElement();

    writeDataFile("tarvel_III.ini", "RADAR_TYPE = 1\n");
    testing_support::PluginSession plugin(sim::Build::v100);
    for (const char* dictionary : {"tarvel_iii", "ring_iii", "radio_iii", "phone_iii"})
        sim::removeDictionary(dictionary);
    sim::fire(sim::Event::Start);
    sim::showEverything();
    for (int frame = 0; frame < 50; ++frame) {
        sim::advanceBusyFrame();
        sim::fire(sim::Event::PhoneDraw);
        sim::fire(sim::Event::HudDraw);
    }
    sim::fire(sim::Event::Shutdown);
    EXPECT_EQ(sim::countCalls("findTexture"), 0u) << "no search in a dictionary that did not load";
    EXPECT_EQ(sim::countCalls("releaseDictionary"), 0u);
}

} // namespace
