// The radar frame with the game's radar drawn inside it, and the health and armour bars.
#include "config/hud_settings.h"
#include "frame_support.h"
#include "host/hud_textures.h"
#include "hud/hud_drawers.h"
#include "sim/host_data.h"
#include "sim/host_radar.h"
#include "support/plugin_session.h"

#include <gtest/gtest.h>

#include <cmath>
#include <iterator>
#include <string>

namespace {

using frame_test::linesOf;

class RadarFrame : public frame_test::WhiteBox {
  protected:
    void SetUp() override {
        frame_test::WhiteBox::SetUp();
        loadHudTextures();
        sim::setHealth(100);
        sim::setArmour(0);
        sim::clearCalls();
    }
    // Everything the radar frame hands the game, in order.
    static std::string drawn() {
        return linesOf({"setRenderState", "drawSpriteQuad", "radarDrawBlips", "radarDrawMap",
                        "radarDrawSprites"});
    }
    // The two bar quads only.
    static std::string bars() {
        std::string text;
        for (const auto& call : sim::callsTo("drawSpriteQuad"))
            if (call.name == "tarvel_iii/bar") text += frame_test::line(call);
        return text;
    }
};

// At 1920 x 1080 a unit is a pixel: the frame spans x 43..317 and 36..245 up from the bottom,
// 1080 - 36 = 1044 and 1080 - 245 = 835; the bars lie 40..50 up, 1040 and 1030.
const std::string frameAtFullHd = "setRenderState(11.000, 6.000)\n"
                                  "drawSpriteQuad(43.000, 1044.000, 317.000, 1044.000, 43.000, "
                                  "835.000, 317.000, 835.000, 'tarvel_iii/blrect', "
                                  "rgba(255 255 255 255))\n"
                                  "radarDrawBlips()\n";

TEST_F(RadarFrame, AtFullHdTheFrameThenTheGamesRadarThenArmourAndHealth) {
    sim::setArmour(50);
    drawRadarFrame();
    // Armour 50: 50 * 0.25 + 50 = 62.5 units from 183, cut to 245.
    // Health 100: 100 * 0.25 + 100 = 125 units from 49 = 174.
    EXPECT_EQ(drawn(), frameAtFullHd + "drawSpriteQuad(183.000, 1040.000, 245.000, 1040.000, "
                                       "183.000, 1030.000, 245.000, 1030.000, "
                                       "'tarvel_iii/bar', rgba(124 140 95 255))\n"
                                       "drawSpriteQuad(49.000, 1040.000, 174.000, 1040.000, "
                                       "49.000, 1030.000, 174.000, 1030.000, "
                                       "'tarvel_iii/bar', rgba(186 101 50 255))\n"
                                       "radarDrawMap()\n");
}

TEST_F(RadarFrame, EmptyValuesDrawNoBarAndValuesAbove100AreFull) {
    const std::string fullHealth =
        "drawSpriteQuad(49.000, 1040.000, 174.000, 1040.000, 49.000, 1030.000, 174.000, 1030.000, "
        "'tarvel_iii/bar', rgba(186 101 50 255))\n";
    struct Case {
        float health, armour;
        std::string bars;
    };
    const Case cases[] = {
        {0, 0, ""},
        {-20, -1, ""},
        {0.9f, 0, ""}, // truncated to 0
        {150, 0, fullHealth},
        {100, 0, fullHealth},
        // 99.9 -> 99: 99 * 0.25 + 99 = 123.75 units from 49 = 172.75, cut to 172.
        {99.9f, 0,
         "drawSpriteQuad(49.000, 1040.000, 172.000, 1040.000, 49.000, 1030.000, 172.000, 1030.000, "
         "'tarvel_iii/bar', "
         "rgba(186 101 50 255))\n"},
        // Armour 250 is full too: 125 units from 183 = 308; health 0 draws nothing.
        {0, 250,
         "drawSpriteQuad(183.000, 1040.000, 308.000, 1040.000, 183.000, 1030.000, 308.000, "
         "1030.000, 'tarvel_iii/bar', "
         "rgba(124 140 95 255))\n"},
    };
    for (const Case& c : cases) {
        sim::setHealth(c.health);
        sim::setArmour(c.armour);
        sim::clearCalls();
        drawRadarFrame();
        EXPECT_EQ(bars(), c.bars) << c.health << ", " << c.armour;
        EXPECT_EQ(sim::countCalls("radarDrawMap"), 1u);
    }
}

TEST_F(RadarFrame, WithoutAPlayerOnlyTheFrameIsDrawn) {
    sim::setRadarPlayerPresent(false);
    drawRadarFrame();
    EXPECT_EQ(drawn(), frameAtFullHd + "radarDrawMap()\n");
}

TEST_F(RadarFrame, At1280x720UnitsAreTwoThirdsOfAPixelCutToWholePixels) {
    sim::setScreenSize(1280, 720);
    drawRadarFrame();
    // Frame: 43 * 2/3 = 28.7 -> 28, 317 -> 211.3 -> 211, 36 -> 24 (720 - 24 = 696),
    // 245 -> 163.3 -> 163 (720 - 163 = 557). Health bar: 49 -> 32.7 -> 32, 174 -> 116,
    // 40 -> 26.7 -> 26 (694), 50 -> 33.3 -> 33 (687).
    EXPECT_EQ(drawn(), "setRenderState(11.000, 6.000)\n"
                       "drawSpriteQuad(28.000, 696.000, 211.000, 696.000, 28.000, 557.000, "
                       "211.000, 557.000, 'tarvel_iii/blrect', "
                       "rgba(255 255 255 255))\n"
                       "radarDrawBlips()\n"
                       "drawSpriteQuad(32.000, 694.000, 116.000, 694.000, 32.000, 687.000, "
                       "116.000, 687.000, 'tarvel_iii/bar', "
                       "rgba(186 101 50 255))\n"
                       "radarDrawMap()\n");
}

TEST_F(RadarFrame, PositionsAreCutToWholeUnitsBeforeScalingThicknessAndLengthAreNot) {
    sim::setScreenSize(1280, 720);
    hudSettings.OUTER_RADAR_SCALE_A = {43.9f, 317.9f};
    hudSettings.BAR_HEALTH_POS_X_Y = {49.9f, 40.9f};
    hudSettings.BAR_THICKNESS = 3.5f;
    hudSettings.BAR_LENGTH_MULTIPLIER = 0.3f;
    hudSettings.colors.RADAR_HEALTH_COLOR = {1, 2, 3, 4};
    drawRadarFrame();
    // Frame as at 43 and 317. Bar from 49 and 40: length 100 * 0.3 + 100 = 130, so
    // 49 + 130 = 179 -> 119.3 -> 119; top 40 + 3.5 = 43.5 -> 29 (720 - 29 = 691).
    EXPECT_EQ(linesOf({"drawSpriteQuad"}),
              "drawSpriteQuad(28.000, 696.000, 211.000, 696.000, 28.000, 557.000, 211.000, "
              "557.000, 'tarvel_iii/blrect', "
              "rgba(255 255 255 255))\n"
              "drawSpriteQuad(32.000, 694.000, 119.000, 694.000, 32.000, 691.000, 119.000, "
              "691.000, 'tarvel_iii/bar', "
              "rgba(1 2 3 4))\n");
}

TEST_F(RadarFrame, WildSettingsGiveTheGameOnlyFiniteNumbers) {
    const float wild[] = {NAN, INFINITY, -INFINITY, 3e38f};
    sim::setArmour(100);
    for (float v : wild) {
        hudSettings.OUTER_RADAR_SCALE_A = {v, v};
        hudSettings.OUTER_RADAR_SCALE_B = {v, v};
        hudSettings.BAR_HEALTH_POS_X_Y = {v, v};
        hudSettings.BAR_ARMOR_POS_X_Y = {v, 40};
        hudSettings.BAR_THICKNESS = v;
        hudSettings.BAR_LENGTH_MULTIPLIER = v;
        drawRadarFrame(); // the simulated game fails the test on any non-finite number
    }
    EXPECT_EQ(sim::countCalls("radarDrawMap"), std::size(wild));
}

TEST_F(RadarFrame, WhileTheGameFlashesTheRadarFrameAndBarsBlinkButItsSpritesDoNot) {
    sim::setRadarFlashingItem(8);
    sim::setRadarSpritesShown(true);
    std::string shown;
    for (uint32_t frame = 0; frame < 32; ++frame) {
        sim::setFrameCounter(frame);
        sim::clearCalls();
        drawRadarFrame();
        shown += sim::countCalls("radarDrawBlips") == 1 ? '#' : '.';
        EXPECT_EQ(frame_test::routineNames().back(), "radarDrawSprites") << frame;
    }
    // Bit 3 of the frame counter: eight frames off, eight on.
    EXPECT_EQ(shown, "........########........########");

    // Another flashing item leaves the frame steady.
    sim::setRadarFlashingItem(7);
    sim::clearCalls();
    for (uint32_t frame = 0; frame < 16; ++frame) {
        sim::setFrameCounter(frame);
        drawRadarFrame();
    }
    EXPECT_EQ(sim::countCalls("radarDrawBlips"), 16u);
}

TEST_F(RadarFrame, TheGamesRadarSpritesNeedTheirByteNoMenuAndNoBigMessage) {
    struct Case {
        const char* what;
        bool spritesByte, menu;
        int messageSlot; // -1: none
        bool drawn;
    };
    const Case cases[] = {
        {"byte set", true, false, -1, true},
        {"byte clear", false, false, -1, false},
        {"menu", true, true, -1, false},
        {"centre message", true, false, 0, false},
        {"wasted or busted", true, false, 2, false},
        {"mission title", true, false, 1, true},
    };
    for (const Case& c : cases) {
        sim::setRadarSpritesShown(c.spritesByte);
        sim::setMenuActive(c.menu);
        for (int slot = 0; slot < 3; ++slot)
            sim::setMessage(slot, slot == c.messageSlot ? "MESSAGE" : "");
        sim::clearCalls();
        drawRadarFrame();
        EXPECT_EQ(sim::countCalls("radarDrawSprites"), c.drawn ? 1u : 0u) << c.what;
        if (c.drawn) {
            EXPECT_EQ(frame_test::routineNames().back(), "radarDrawSprites") << c.what;
        }
    }
}

TEST(RadarFrameInThePlugin, EachHudFrameDrawsTheRadarFrameAroundTheGamesRadar) {
    testing_support::removeDataFolder();
    testing_support::PluginSession session;
    sim::fire(sim::Event::Start);
    sim::setHealth(100);
    sim::clearCalls();
    sim::fire(sim::Event::HudDraw);
    std::string sequence;
    for (const auto& call : sim::calls()) {
        if (call.routine == "radarDrawBlips" || call.routine == "radarDrawMap" ||
            call.name == "tarvel_iii/blrect" || call.name == "tarvel_iii/bar")
            sequence += frame_test::line(call);
    }
    EXPECT_EQ(
        sequence,
        "drawSpriteQuad(43.000, 1044.000, 317.000, 1044.000, 43.000, 835.000, 317.000, 835.000, "
        "'tarvel_iii/blrect', rgba(255 255 255 255))\n"
        "radarDrawBlips()\n"
        "drawSpriteQuad(49.000, 1040.000, 174.000, 1040.000, 49.000, 1030.000, 174.000, 1030.000, "
        "'tarvel_iii/bar', rgba(186 101 50 255))\n"
        "radarDrawMap()\n");
}

} // namespace
