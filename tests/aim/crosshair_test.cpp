// The crosshair drawer against the simulated game, called directly: which sight each camera
// mode gets, where it lands, and the strength counter the game shares with it.
#include "aim/aim_test_support.h"
#include "config/hud_settings.h"
#include "hud/hud_drawers.h"
#include "plugin/hud_textures.h"
#include "sim/host_cameras.h"
#include "sim/host_data.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>

namespace {

using aim_testing::drawingCalls;
using aim_testing::expectRect;

// Layout units on the default 1920 x 1080 screen: UnitX(v) = v * 1080 / 480, UnitY(v) = v * 1080
// / 448.
constexpr double unitX(double v) {
    return v * 1080.0 / 480.0;
}
constexpr double unitY(double v) {
    return v * 1080.0 / 448.0;
}

class CrosshairTest : public testing::Test {
  protected:
    void SetUp() override {
        sim::layOut(sim::Build::v100);
        hudSettings = HudSettings{};
        hudTextures = HudTextures{}; // the old sprites went with the last layout
        constructHudSprites();
        loadHudTextures();
        sim::clearCalls();
    }

    // A gun aimed from behind the player: the mouse-aim camera of mode 4.
    static void aimGun(int32_t weaponType, float x = 0.53f, float y = 0.4f) {
        sim::setMouseAimEnabled(true);
        sim::setCamera(0, 4);
        sim::setWeapon(0, weaponType);
        sim::setCurrentWeapon(0);
        sim::setAimPoint(x, y);
    }

    static std::vector<sim::HostCall> spritesDrawn() { return sim::callsTo("drawSprite"); }
};

TEST_F(CrosshairTest, AimCrosshairSitsOnTheGamesAimPoint) {
    aimGun(2, 0.53f, 0.4f);
    drawCrosshair();

    // The centre is (1920 * 0.53, 1080 * 0.4) = (1017.6, 432); half size 12.8 units.
    const auto sprites = spritesDrawn();
    ASSERT_EQ(sprites.size(), 1u);
    EXPECT_EQ(sprites[0].name, "tarvel_iii/siteM16");
    EXPECT_EQ(sprites[0].colour, (sim::Colour{255, 255, 255, 255}));
    expectRect(sprites[0], 1017.6 - unitX(12.8), 432 + unitY(12.8), 1017.6 + unitX(12.8),
               432 - unitY(12.8));
    EXPECT_EQ(drawingCalls(),
              (std::vector<std::string>{
                  "setRenderState(9.000, 2.000)", "setRenderState(8.000, 0.000)", "drawSprite",
                  "setRenderState(9.000, 2.000)", "setRenderState(10.000, 5.000)",
                  "setRenderState(11.000, 6.000)"}));
}

TEST_F(CrosshairTest, WeaponTypeSixGetsACrosshairHalfAsLargeAgain) {
    aimGun(6, 0.5f, 0.5f);
    drawCrosshair();
    const auto sprites = spritesDrawn();
    ASSERT_EQ(sprites.size(), 1u);
    // 19.2 units against 12.8: 43.2 px instead of 28.8 across, 46.29 instead of 30.86 down.
    expectRect(sprites[0], 960 - unitX(19.2), 540 + unitY(19.2), 960 + unitX(19.2),
               540 - unitY(19.2));
    EXPECT_NEAR((sprites[0].numbers[2] - sprites[0].numbers[0]) / (2 * unitX(12.8)), 1.5, 1e-4);
}

TEST_F(CrosshairTest, ClassicAimingShowsTheCrosshairOnlyWithTheRightButtonHeld) {
    hudSettings.USING_CLASSIC_AXIS = true;
    aimGun(3, 0.25f, 0.75f);

    drawCrosshair(); // button up: centred on (2W, 2H) = (3840, 2160), off the screen
    sim::setKey(VK_RBUTTON, true);
    drawCrosshair(); // button down: on the aim point (480, 810)

    const auto sprites = spritesDrawn();
    ASSERT_EQ(sprites.size(), 2u);
    expectRect(sprites[0], 3840 - unitX(12.8), 2160 + unitY(12.8), 3840 + unitX(12.8),
               2160 - unitY(12.8));
    EXPECT_GT(sprites[0].numbers[0], 1920.0);
    EXPECT_GT(sprites[0].numbers[3], 1080.0);
    expectRect(sprites[1], 480 - unitX(12.8), 810 + unitY(12.8), 480 + unitX(12.8),
               810 - unitY(12.8));
}

TEST_F(CrosshairTest, OnlyGunsAimedFromBehindGetTheAimCrosshair) {
    struct Case {
        int32_t weaponType;
        uint8_t state;
        bool drawn;
    };
    const Case cases[] = {{1, 0, false}, {2, 0, true},   {5, 0, true},
                          {6, 0, true},  {7, 0, false},  {8, 0, false},
                          {9, 0, true},  {10, 0, false}, {4, 0x34, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "weapon " << c.weaponType << ", state " << +c.state);
        SetUp();
        aimGun(c.weaponType);
        sim::setPlayerStateByte(c.state);
        drawCrosshair();
        EXPECT_EQ(spritesDrawn().size(), c.drawn ? 1u : 0u);
        EXPECT_EQ(sim::crosshairStrength(), c.drawn ? 1 : 0);
    }
}

TEST_F(CrosshairTest, PadZeroDecidesUnlessThePlayerAimsWithTheMouse) {
    aimGun(2);
    sim::setPadQueryResult(1);
    drawCrosshair();
    EXPECT_EQ(sim::countCalls("padQuery"), 1u);
    EXPECT_TRUE(spritesDrawn().empty());

    sim::clearCalls();
    sim::setAimingWithMouse(true);
    drawCrosshair();
    EXPECT_EQ(spritesDrawn().size(), 1u);
}

TEST_F(CrosshairTest, MouseAimCameraOutsideModeFourFollowsThePlayer) {
    const uint32_t player = sim::playerActorAddress();
    struct Case {
        const char* what;
        bool enabled, aiming;
        int16_t mode;
        uint32_t target;
        uint8_t state;
        bool drawn;
    };
    const Case cases[] = {
        {"following the player", true, true, 53, player, 0, true},
        {"mouse aim switched off", false, true, 53, player, 0, false},
        {"not aiming with the mouse", true, false, 53, player, 0, false},
        {"following someone else", true, true, 53, player + 0x600, 0, false},
        {"camera mode 1", true, true, 1, player, 0, false},
        {"player in state 0x2C", true, true, 53, player, 0x2C, false},
        {"mode 4 needs nothing else", true, false, 4, 0, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        sim::setMouseAimEnabled(c.enabled);
        sim::setAimingWithMouse(c.aiming);
        sim::setCamera(0, c.mode, c.target);
        sim::setWeapon(0, 4);
        sim::setPlayerStateByte(c.state);
        sim::setAimPoint(0.5f, 0.5f);
        drawCrosshair();
        const auto sprites = spritesDrawn();
        ASSERT_EQ(sprites.size(), c.drawn ? 1u : 0u);
        if (c.drawn)
            expectRect(sprites[0], 960 - unitX(12.8), 540 + unitY(12.8), 960 + unitX(12.8),
                       540 - unitY(12.8));
    }
}

TEST_F(CrosshairTest, FirstPersonRocketViewsGetTheCentredCrosshair) {
    // 34 and 44 are scope views; 40 aims a gun without the mouse-aim camera.
    for (int16_t mode : {34, 40, 44}) {
        SCOPED_TRACE(mode);
        SetUp();
        sim::setCamera(0, mode);
        sim::setWeapon(0, 5);
        drawCrosshair();
        const auto sprites = spritesDrawn();
        ASSERT_EQ(sprites.size(), 1u);
        EXPECT_EQ(sprites[0].name, "tarvel_iii/siteM16");
        // 32 units: 72 px across and 77.14 px down from the centre (960, 540).
        expectRect(sprites[0], 960 - 72.0, 540 + unitY(32), 960 + 72.0, 540 - unitY(32));
    }
}

TEST_F(CrosshairTest, ModeFortyWithoutAGunDrawsNothing) {
    sim::setCamera(0, 40);
    sim::setWeapon(0, 0);
    sim::setCrosshairStrength(17);
    drawCrosshair();
    EXPECT_TRUE(sim::calls().empty());
    EXPECT_EQ(sim::crosshairStrength(), 0);
}

TEST_F(CrosshairTest, RocketSightIsTheTintedImageWithThePulseColour) {
    for (int16_t mode : {8, 39}) {
        SCOPED_TRACE(mode);
        SetUp();
        sim::setCamera(0, mode);
        sim::setCrosshairStrength(19); // 20 once this frame counts
        sim::setClock(1124);           // 1124 AND 1023 = 100
        drawCrosshair();

        // angle = 100 * 0.0009765625 * 6.28 = 0.61328125, sin = 0.5755538;
        // pulse = 20 * 0.03 * (0.5755538 * 0.25 + 0.75) = 0.6 * 0.8938885 = 0.5363331;
        // red = blue = trunc(53.63) = 53, green = trunc(107.27) = 107.
        const auto tinted = sim::callsTo("drawTintedSprite");
        ASSERT_EQ(tinted.size(), 1u);
        const std::vector<double> expected{960, 540, 960, 90,  unitY(40), 53,
                                           107, 53,  255, 1.0, 255};
        ASSERT_EQ(tinted[0].numbers.size(), expected.size());
        for (size_t i = 0; i < expected.size(); ++i)
            EXPECT_NEAR(tinted[0].numbers[i], expected[i], 1e-3) << "argument " << i;

        const auto raster = aim_testing::rasterOf(hudTextures.ringSprites[RocketSightSprite]);
        EXPECT_NE(raster, aim_testing::rasterOf(hudTextures.ringSprites[CrosshairSprite]));
        const std::string rasterState = "setRenderState(1.000, " + std::to_string(raster) + ".000)";
        EXPECT_EQ(drawingCalls(), (std::vector<std::string>{
                                      "setRenderState(9.000, 2.000)",
                                      "setRenderState(8.000, 0.000)",
                                      "setRenderState(12.000, 1.000)",
                                      "setRenderState(10.000, 2.000)",
                                      "setRenderState(11.000, 2.000)",
                                      "setRenderState(8.000, 0.000)",
                                      "setRenderState(6.000, 0.000)",
                                      rasterState,
                                      "drawTintedSprite",
                                      "setRenderState(9.000, 2.000)",
                                      "setRenderState(10.000, 5.000)",
                                      "setRenderState(11.000, 6.000)",
                                  }));
        EXPECT_TRUE(spritesDrawn().empty());
    }
}

TEST_F(CrosshairTest, RocketSightPulseFollowsTheClockAndTheStrength) {
    struct Case {
        uint32_t clock;
        int32_t strengthBefore;
        double redBlue, green;
    };
    const Case cases[] = {
        // 256 ms: angle 1.57, sin 0.9999997; pulse 10 * 0.03 * 0.99999992 = 0.29999998, so the
        // truncation gives 29 and 59, not 30 and 60.
        {256, 9, 29, 59},
        // 768 ms: angle 4.71, sin -0.9999971; pulse 0.3 * 0.5000007 = 0.1500002: 15 and 30.
        {768, 9, 15, 30},
        // Full strength holds at 30 (0.9): 2048 + 256 ms gives 0.9 * 0.99999992 = 0.8999999,
        // so 89 and 179.
        {2048 + 256, 30, 89, 179},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.clock);
        SetUp();
        sim::setCamera(0, 8);
        sim::setClock(c.clock);
        sim::setCrosshairStrength(c.strengthBefore);
        drawCrosshair();
        const auto tinted = sim::callsTo("drawTintedSprite");
        ASSERT_EQ(tinted.size(), 1u);
        EXPECT_EQ(tinted[0].numbers[5], c.redBlue);
        EXPECT_EQ(tinted[0].numbers[6], c.green);
        EXPECT_EQ(tinted[0].numbers[7], c.redBlue);
    }
}

TEST_F(CrosshairTest, RocketSightWithoutItsTextureDrawsNoImage) {
    sim::layOut(sim::Build::v100);
    sim::removeTexture("tarvel_iii", "siterocket");
    hudTextures = HudTextures{};
    constructHudSprites();
    loadHudTextures();
    sim::clearCalls();
    sim::setCamera(0, 8);
    drawCrosshair();
    EXPECT_EQ(sim::countCalls("drawTintedSprite"), 0u);
    EXPECT_EQ(drawingCalls(), (std::vector<std::string>{
                                  "setRenderState(9.000, 2.000)", "setRenderState(8.000, 0.000)",
                                  "setRenderState(9.000, 2.000)", "setRenderState(10.000, 5.000)",
                                  "setRenderState(11.000, 6.000)"}));
}

TEST_F(CrosshairTest, SniperScopeIsFourMirroredQuarters) {
    sim::setCamera(0, 7);
    drawCrosshair();
    const auto quarters = spritesDrawn();
    ASSERT_EQ(quarters.size(), 4u);
    for (const auto& quarter : quarters)
        EXPECT_EQ(quarter.name, "tarvel_iii/sitesniper");
    // 210 units: 472.5 px across and 506.25 px down from the centre (960, 540).
    expectRect(quarters[0], 487.5, 540, 960, 33.75);    // upper left as drawn
    expectRect(quarters[1], 1432.5, 540, 960, 33.75);   // upper right, mirrored
    expectRect(quarters[2], 487.5, 540, 960, 1046.25);  // lower left, mirrored vertically
    expectRect(quarters[3], 1432.5, 540, 960, 1046.25); // lower right, mirrored both ways

    auto leftPastRight = [](const sim::HostCall& q) { return q.numbers[0] > q.numbers[2]; };
    auto bottomAboveTop = [](const sim::HostCall& q) { return q.numbers[1] < q.numbers[3]; };
    EXPECT_FALSE(leftPastRight(quarters[0]) || bottomAboveTop(quarters[0]));
    EXPECT_TRUE(leftPastRight(quarters[1]) && !bottomAboveTop(quarters[1]));
    EXPECT_TRUE(!leftPastRight(quarters[2]) && bottomAboveTop(quarters[2]));
    EXPECT_TRUE(leftPastRight(quarters[3]) && bottomAboveTop(quarters[3]));
}

TEST_F(CrosshairTest, AimViewsWithoutTheMouseAimCameraGetTheSniperScope) {
    for (int16_t mode : {38, 41}) {
        SCOPED_TRACE(mode);
        SetUp();
        sim::setCamera(0, mode);
        drawCrosshair();
        EXPECT_EQ(spritesDrawn().size(), 4u);
        EXPECT_EQ(sim::crosshairStrength(), 1);
    }
}

TEST_F(CrosshairTest, OtherCameraModesDrawNothingAndResetTheStrength) {
    for (int16_t mode : {0, 1, 4, 6, 9, 33, 42}) {
        SCOPED_TRACE(mode);
        SetUp();
        sim::setCamera(0, mode);
        sim::setCrosshairStrength(25);
        drawCrosshair();
        EXPECT_TRUE(sim::calls().empty());
        EXPECT_EQ(sim::crosshairStrength(), 0);
    }
}

TEST_F(CrosshairTest, StrengthRisesOneAFrameToThirtyAndDropsToZero) {
    sim::setCamera(0, 7);
    for (int frame = 1; frame <= 35; ++frame) {
        drawCrosshair();
        EXPECT_EQ(sim::crosshairStrength(), frame < 30 ? frame : 30) << "frame " << frame;
    }
    sim::setCamera(0, 0);
    drawCrosshair();
    EXPECT_EQ(sim::crosshairStrength(), 0);

    // Whatever the game left there, a drawn frame caps it at 30.
    sim::setCrosshairStrength(100000);
    sim::setCamera(0, 7);
    drawCrosshair();
    EXPECT_EQ(sim::crosshairStrength(), 30);
}

TEST_F(CrosshairTest, NoPlayerMeansNoAimCrosshairButScopesStillShow) {
    sim::setPlayerPresent(false);
    aimGun(2);
    drawCrosshair();
    EXPECT_TRUE(drawingCalls().empty());

    sim::setCamera(0, 7);
    drawCrosshair();
    EXPECT_EQ(spritesDrawn().size(), 4u);
}

TEST_F(CrosshairTest, ActiveCameraIndexPicksTheRecordAndStaysInsideTheArray) {
    sim::setCamera(0, 0);
    sim::setCamera(1, 34);
    sim::setCamera(2, 7);

    sim::setActiveCamera(1);
    drawCrosshair();
    ASSERT_EQ(spritesDrawn().size(), 1u); // the centred crosshair of mode 34

    // Indices past the three records read the last one; record 3 (mode 44) is never looked at.
    sim::setCamera(3, 44);
    for (uint8_t index : {3, 200, 255}) {
        SCOPED_TRACE(+index);
        sim::clearCalls();
        sim::setActiveCamera(index);
        drawCrosshair();
        EXPECT_EQ(spritesDrawn().size(), 4u); // the sniper scope of mode 7
    }
}

TEST_F(CrosshairTest, NothingHappensWhileTheHudIsHiddenOrSuppressedOrAMenuIsUp) {
    const std::function<void()> gates[] = {[] { sim::setHudShown(false); },
                                           [] { sim::setMenuActive(true); },
                                           [] { sim::setHudSuppressed(true); }};
    for (const auto& gate : gates) {
        SetUp();
        sim::setCamera(0, 7);
        sim::setCrosshairStrength(12);
        gate();
        drawCrosshair();
        EXPECT_TRUE(sim::calls().empty());
        EXPECT_EQ(sim::crosshairStrength(), 12);
    }
}

} // namespace
