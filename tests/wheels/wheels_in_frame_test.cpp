// The wheels inside the real plug-in, driven by the game's own frame.
#include "sim/host_data.h"
#include "sim/sim.h"
#include "support/plugin_session.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

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
};

TEST_F(WheelsInFrame, TheWeaponWheelDrawsBetweenTheStarsAndTheRadioWheel) {
    PluginSession session;
    sim::fire(sim::Event::Start);
    sim::setWeapon(1, 1);
    sim::setCurrentWeapon(1);
    sim::setMouseWheel(true, false);
    sim::setClock(5000);
    sim::clearCalls();
    sim::fire(sim::Event::HudDraw);

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
    const auto prints = sim::callsTo("printText");
    const auto caption = std::find_if(prints.begin(), prints.end(), [](const sim::HostCall& c) {
        return c.numbers == std::vector<double>{960, 540};
    });
    ASSERT_NE(caption, prints.end());
    EXPECT_EQ(caption->text, u"Caf\u00E9");

    // The wanted stars come before the wheel, whatever they drew.
    const auto star = std::find_if(calls.begin(), calls.end(), [](const sim::HostCall& c) {
        return c.name == "tarvel_iii/star";
    });
    EXPECT_TRUE(star == calls.end() || star < start);
}

} // namespace
