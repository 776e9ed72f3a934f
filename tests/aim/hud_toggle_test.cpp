// The HUD on/off button through the real plug-in: pad 1's button flips the game's HUD byte on
// the frame it goes down, both ways, and the upper group follows from the next frame.
#include "sim/host_cameras.h"
#include "sim/host_data.h"
#include "support/plugin_session.h"

#include <gtest/gtest.h>

namespace {

using testing_support::PluginSession;

class HudToggleTest : public testing::Test {
  protected:
    void SetUp() override { testing_support::removeDataFolder(); }

    // One frame; returns how many sniper-scope quarters it drew (4 while the HUD shows).
    static size_t frame(bool buttonNow, bool buttonBefore) {
        sim::setToggleButton(buttonNow, buttonBefore);
        sim::clearCalls();
        sim::fire(sim::Event::HudDraw);
        size_t quarters = 0;
        for (const auto& call : sim::callsTo("drawSprite"))
            quarters += call.name == "tarvel_iii/sitesniper";
        return quarters;
    }
};

TEST_F(HudToggleTest, ButtonHidesTheHudAndASecondPressShowsItAgain) {
    PluginSession session;
    sim::fire(sim::Event::Start);
    sim::setCamera(0, 7); // the sniper scope shows whenever the upper group runs

    EXPECT_EQ(frame(false, false), 4u);
    EXPECT_TRUE(sim::hudShown());

    // The press flips the byte at once; the crosshair, drawn after it, already sees it.
    EXPECT_EQ(frame(true, false), 0u);
    EXPECT_FALSE(sim::hudShown());
    EXPECT_EQ(frame(true, true), 0u);  // hidden from the next frame; held: no second flip
    EXPECT_EQ(frame(false, true), 0u); // released
    EXPECT_EQ(frame(false, false), 0u);
    EXPECT_FALSE(sim::hudShown());

    EXPECT_EQ(frame(true, false), 0u); // pressed again while hidden: back on from the next frame
    EXPECT_TRUE(sim::hudShown());
    EXPECT_EQ(frame(true, true), 4u);
    EXPECT_TRUE(sim::hudShown());
}

// In a menu or while the game suppresses drawing the player would not see the HUD change, so
// the button does nothing there, whether the HUD is shown or hidden.
TEST_F(HudToggleTest, ButtonDoesNothingWhereThePlayerCannotSeeTheHud) {
    PluginSession session;
    for (bool shown : {true, false}) {
        sim::setHudShown(shown);
        sim::setMenuActive(true);
        frame(true, false);
        EXPECT_EQ(sim::hudShown(), shown) << "flipped in a menu";
        frame(false, true);
        sim::setMenuActive(false);
        sim::setHudSuppressed(true);
        frame(true, false);
        EXPECT_EQ(sim::hudShown(), shown) << "flipped while drawing is suppressed";
        frame(false, true);
        sim::setHudSuppressed(false);
        frame(true, false);
        EXPECT_EQ(sim::hudShown(), !shown) << "no flip where the HUD can be seen";
        frame(false, true);
    }
}

TEST_F(HudToggleTest, OtherBuildsLeaveTheHudByteAlone) {
    for (sim::Build build : {sim::Build::v110, sim::Build::v120}) {
        PluginSession session(build);
        sim::setHudShown(true);
        frame(true, false);
        EXPECT_TRUE(sim::hudShown());
    }
}

} // namespace
