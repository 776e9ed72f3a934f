// The wheels inside the real plug-in, driven by the game's own frame.
#include "sim/host_data.h"
#include "sim/sim.h"
#include "support/plugin_session.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

using ::testing::ElementsAre;
using testing_support::PluginSession;

class WheelsInFrame : public ::testing::Test {
  protected:
    void SetUp() override {
        testing_support::removeDataFolder();
        testing_support::writeDataFile("tarvel_III.ini", "WEAPON_NAMES = Fist,Caf\xE9,\n"
                                                         "WEAP_WHEEL_SCALE_MULTIPLIER = 2\n");
    }
    void TearDown() override { testing_support::removeDataFolder(); }

    // A started game's frame with the weapon wheel shown for weapon type 1.
    static void frameWithTheWeaponWheel() {
        sim::fire(sim::Event::Start);
        sim::setWeapon(1, 1);
        sim::setCurrentWeapon(1);
        sim::setMouseWheel(true, false);
        sim::setClock(5000);
        sim::clearCalls();
        sim::fire(sim::Event::HudDraw);
    }

    // The text printed at the screen's centre.
    static std::u16string caption() {
        const auto prints = sim::callsTo("printText");
        const auto centred = std::find_if(prints.begin(), prints.end(), [](const sim::HostCall& c) {
            return c.numbers == std::vector<double>{960, 540};
        });
        return centred == prints.end() ? u"<none>" : centred->text;
    }
};

TEST_F(WheelsInFrame, TheWeaponWheelDrawsBetweenTheStarsAndTheRadioWheel) {
    PluginSession session;
    frameWithTheWeaponWheel();

    const auto& calls = sim::calls();
    const auto start = std::find_if(calls.begin(), calls.end(), [](const sim::HostCall& c) {
        return c.routine == "findTexture" && c.name == "sring";
    });
    ASSERT_NE(start, calls.end()) << sim::describeAll();
    std::vector<std::string> wheel;
    for (auto it = start; it != calls.end() && wheel.size() < 15; ++it)
        wheel.push_back(it->routine == "drawSpriteQuad" ? "quad " + it->name
                                                        : it->routine + " " + it->name);
    EXPECT_THAT(wheel,
                ElementsAre("findTexture sring", "findTexture shl", "quad ring_iii/sring",
                            "quad ring_iii/shl", "setCentreOn ", "setTextColour ", "setFont ",
                            "setDropShadowOffset ", "setDropShadowColour ", "setTextScale ",
                            "textSwitch501DA0 ", "printText ", "quad ring_iii/1", "quad ring_iii/0",
                            "findTexture 0")); // then the radio wheel, out of a vehicle

    // Byte 0xE9 of the layout file reaches the game as U+00E9.
    EXPECT_EQ(caption(), u"Caf\u00E9");

    // The wanted stars come before the wheel, whatever they drew.
    const auto star = std::find_if(calls.begin(), calls.end(), [](const sim::HostCall& c) {
        return c.name == "tarvel_iii/star";
    });
    EXPECT_TRUE(star == calls.end() || star < start);
}

// Names saved as UTF-8 or UTF-16 reach the game as their characters, not byte by byte.
TEST_F(WheelsInFrame, NamesInEveryTextFormReachTheGameAsTheirCharacters) {
    const std::string layout = "WEAPON_NAMES = Fist,D\xC3\xA9tonateur,\n";
    std::string utf16 = "\xFF\xFE";
    for (const char c : std::string("WEAPON_NAMES = Fist,D\xE9tonateur,\n"))
        utf16 += {c, '\0'};
    for (const std::string& file : {layout, "\xEF\xBB\xBF" + layout, utf16}) {
        testing_support::writeDataFile("tarvel_III.ini", file);
        PluginSession session;
        frameWithTheWeaponWheel();
        EXPECT_EQ(caption(), u"D\u00E9tonateur") << file;
    }
}

// The game's text buffers hold a few thousand characters, whatever length a name has.
TEST_F(WheelsInFrame, AMegabyteNameReachesTheGameCutAt4095CharactersAndNoPairCutInTwo) {
    const std::string megabyte(1 << 20, 'x');
    const std::string controller = "\xF0\x9F\x8E\xAE"; // U+1F3AE, two 16-bit codes
    for (const size_t before : {size_t{4095}, size_t{4094}}) {
        testing_support::writeDataFile("tarvel_III.ini", "WEAPON_NAMES = Fist," +
                                                             megabyte.substr(0, before) +
                                                             controller + megabyte + ",\n");
        PluginSession session;
        frameWithTheWeaponWheel();
        const std::u16string shown = caption();
        EXPECT_EQ(shown.size(), before);
        EXPECT_TRUE(shown == std::u16string(before, u'x')) << before << " x before the pair";
    }
}

} // namespace
