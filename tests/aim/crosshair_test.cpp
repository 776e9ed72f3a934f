// The crosshair drawer against the simulated game, called directly: which sight each camera
// mode gets, where it lands, and the strength counter the game shares with it.
#include "aim/aim_test_support.h"
#include "config/hud_settings.h"
#include "host/hud_textures.h"
#include "hud/hud_drawers.h"
#include "sim/host_cameras.h"
#include "sim/host_data.h"

#include <gtest/gtest.h>
#include <windows.h>

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

const std::vector<std::string> renderStatesAround{"setRenderState(9.000, 2.000)",
                                                  "setRenderState(8.000, 0.000)",
                                                  "drawSprite",
                                                  "setRenderState(9.000, 2.000)",
                                                  "setRenderState(10.000, 5.000)",
                                                  "setRenderState(11.000, 6.000)"};

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

    // A gun aimed from behind the player through the mouse-aim camera of mode 4.
    static void aimGun(int32_t weaponType, float x = 0.5f, float y = 0.5f) {
        sim::setMouseAimEnabled(true);
        sim::setCamera(0, 4);
        sim::setWeapon(0, weaponType);
        sim::setAimPoint(x, y);
    }
    static std::vector<sim::HostCall> sprites() { return sim::callsTo("drawSprite"); }
    static void expectCrosshairAt(double cx, double cy, double size) {
        ASSERT_EQ(sprites().size(), 1u);
        EXPECT_EQ(sprites()[0].name, "tarvel_iii/siteM16");
        EXPECT_EQ(sprites()[0].colour, (sim::Colour{255, 255, 255, 255}));
        expectRect(sprites()[0], cx - unitX(size), cy + unitY(size), cx + unitX(size),
                   cy - unitY(size));
    }
};

TEST_F(CrosshairTest, AimCrosshairSitsOnTheAimPointAndIsLargerForWeaponSix) {
    aimGun(2, 0.53f, 0.4f);
    drawCrosshair();
    expectCrosshairAt(1920 * 0.53, 1080 * 0.4, 12.8); // (1017.6, 432)
    EXPECT_EQ(drawingCalls(), renderStatesAround);

    SetUp();
    aimGun(6);
    drawCrosshair();
    expectCrosshairAt(960, 540, 19.2); // 1.5 times 12.8 units: 43.2 px across
}

TEST_F(CrosshairTest, ClassicAimingShowsTheCrosshairOnlyWithTheRightButtonHeld) {
    hudSettings.USING_CLASSIC_AXIS = true;
    aimGun(3, 0.25f, 0.75f);
    drawCrosshair();
    expectCrosshairAt(2 * 1920, 2 * 1080, 12.8); // off the screen

    sim::clearCalls();
    sim::setKey(VK_RBUTTON, true);
    drawCrosshair();
    expectCrosshairAt(480, 810, 12.8);
}

TEST_F(CrosshairTest, WhoGetsTheAimCrosshair) {
    const uint32_t player = sim::playerActorAddress();
    struct Case {
        const char* what;
        int16_t mode;
        int32_t weapon;
        bool mouseAim, aimingWithMouse;
        uint32_t target;
        uint8_t state;
        int padQuery;
        bool present, drawn;
    };
    const Case cases[] = {
        {"mode 4, a pistol", 4, 2, true, false, 0, 0, 0, true, true},
        {"weapon 5", 4, 5, true, false, 0, 0, 0, true, true},
        {"weapon 9", 4, 9, true, false, 0, 0, 0, true, true},
        {"weapon 1", 4, 1, true, false, 0, 0, 0, true, false},
        {"weapon 7", 4, 7, true, false, 0, 0, 0, true, false},
        {"weapon 10", 4, 10, true, false, 0, 0, 0, true, false},
        {"state 0x34", 4, 2, true, false, 0, 0x34, 0, true, false},
        {"no player", 4, 2, true, false, 0, 0, 0, false, false},
        {"mouse aim off", 4, 2, false, false, 0, 0, 0, true, false},
        {"pad 0 busy", 4, 2, true, false, 0, 0, 1, true, false},
        {"pad 0 busy, aiming with the mouse", 4, 2, true, true, 0, 0, 1, true, true},
        {"camera following the player", 53, 2, true, true, player, 0, 0, true, true},
        {"not aiming with the mouse", 53, 2, true, false, player, 0, 0, true, false},
        {"following someone else", 53, 2, true, true, player + 8, 0, 0, true, false},
        {"camera mode 1", 1, 2, true, true, player, 0, 0, true, false},
        {"state 0x2C", 53, 2, true, true, player, 0x2C, 0, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        aimGun(c.weapon);
        sim::setCamera(0, c.mode, c.target);
        sim::setMouseAimEnabled(c.mouseAim);
        sim::setAimingWithMouse(c.aimingWithMouse);
        sim::setPlayerStateByte(c.state);
        sim::setPadQueryResult(c.padQuery);
        sim::setPlayerPresent(c.present);
        drawCrosshair();
        if (c.drawn)
            expectCrosshairAt(960, 540, 12.8);
        else
            EXPECT_TRUE(drawingCalls().empty());
    }
}

TEST_F(CrosshairTest, FirstPersonViewsGetTheCentredCrosshair) {
    // 34 and 44 are scope views; 40 aims a gun without the mouse-aim camera.
    for (int16_t mode : {34, 40, 44}) {
        SCOPED_TRACE(mode);
        SetUp();
        sim::setCamera(0, mode);
        sim::setWeapon(0, 5);
        drawCrosshair();
        expectCrosshairAt(960, 540, 32); // 72 px across, 77.14 px down
    }
}

TEST_F(CrosshairTest, RocketSightIsTheTintedImageInThePulseColour) {
    struct Case {
        int16_t mode;
        uint32_t clock;
        int32_t strengthBefore;
        double redBlue, green;
    };
    const Case cases[] = {
        // angle = 100 * 0.0009765625 * 6.28 = 0.61328125, sin 0.5755538; pulse = 20 * 0.03 *
        // (0.5755538 * 0.25 + 0.75) = 0.5363331: trunc(53.63) and trunc(107.27).
        {8, 1024 + 100, 19, 53, 107},
        // angle 1.57, sin 0.9999997: 10 * 0.03 * 0.99999992 = 0.29999998 gives 29 and 59.
        {39, 256, 9, 29, 59},
        // angle 4.71, sin -0.9999971: 0.3 * 0.5000007 = 0.1500002 gives 15 and 30.
        {8, 768, 9, 15, 30},
        // Full strength stays 30: 0.9 * 0.99999992 = 0.8999999 gives 89 and 179.
        {39, 2048 + 256, 30, 89, 179},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.clock);
        SetUp();
        sim::setCamera(0, c.mode);
        sim::setClock(c.clock);
        sim::setCrosshairStrength(c.strengthBefore);
        drawCrosshair();

        const auto tinted = sim::callsTo("drawTintedSprite");
        ASSERT_EQ(tinted.size(), 1u);
        const std::vector<double> expected{960,     540,       960, unitX(40), unitY(40), c.redBlue,
                                           c.green, c.redBlue, 255, 1.0,       255};
        ASSERT_EQ(tinted[0].numbers.size(), expected.size());
        for (size_t i = 0; i < expected.size(); ++i)
            EXPECT_NEAR(tinted[0].numbers[i], expected[i], 1e-3) << "argument " << i;

        const auto raster = aim_testing::rasterOf(hudTextures.ringSprites[RocketSightSprite]);
        EXPECT_NE(raster, aim_testing::rasterOf(hudTextures.ringSprites[CrosshairSprite]));
        EXPECT_EQ(drawingCalls(),
                  (std::vector<std::string>{
                      "setRenderState(9.000, 2.000)", "setRenderState(8.000, 0.000)",
                      "setRenderState(12.000, 1.000)", "setRenderState(10.000, 2.000)",
                      "setRenderState(11.000, 2.000)", "setRenderState(8.000, 0.000)",
                      "setRenderState(6.000, 0.000)",
                      "setRenderState(1.000, " + std::to_string(raster) + ".000)",
                      "drawTintedSprite", "setRenderState(9.000, 2.000)",
                      "setRenderState(10.000, 5.000)", "setRenderState(11.000, 6.000)"}));
    }

    // Without its texture there is no raster to read, and no image.
    sim::layOut(sim::Build::v100);
    sim::removeTexture("tarvel_iii", "siterocket");
    hudTextures = HudTextures{};
    constructHudSprites();
    loadHudTextures();
    sim::clearCalls();
    sim::setCamera(0, 8);
    drawCrosshair();
    auto withoutImage = renderStatesAround;
    withoutImage.erase(withoutImage.begin() + 2);
    EXPECT_EQ(drawingCalls(), withoutImage);
}

TEST_F(CrosshairTest, SniperScopeIsFourMirroredQuarters) {
    // Mode 7, and the aim views 38 and 41 without the mouse-aim camera.
    for (int16_t mode : {7, 38, 41}) {
        SCOPED_TRACE(mode);
        SetUp();
        sim::setCamera(0, mode);
        drawCrosshair();
        const auto q = sprites();
        ASSERT_EQ(q.size(), 4u);
        for (const auto& quarter : q)
            EXPECT_EQ(quarter.name, "tarvel_iii/sitesniper");
        // 210 units: 472.5 px across and 506.25 px down from the centre (960, 540). A left past
        // the right mirrors a quarter, a bottom above the top flips it.
        expectRect(q[0], 960 - 472.5, 540, 960, 540 - 506.25);
        expectRect(q[1], 960 + 472.5, 540, 960, 540 - 506.25);
        expectRect(q[2], 960 - 472.5, 540, 960, 540 + 506.25);
        expectRect(q[3], 960 + 472.5, 540, 960, 540 + 506.25);
        EXPECT_LT(q[0].numbers[0], q[0].numbers[2]);
        EXPECT_GT(q[0].numbers[1], q[0].numbers[3]);
        EXPECT_GT(q[1].numbers[0], q[1].numbers[2]);
        EXPECT_LT(q[2].numbers[1], q[2].numbers[3]);
        EXPECT_GT(q[3].numbers[0], q[3].numbers[2]);
        EXPECT_LT(q[3].numbers[1], q[3].numbers[3]);
    }
}

TEST_F(CrosshairTest, StrengthRisesOneAFrameToThirtyAndDropsToZero) {
    sim::setCamera(0, 7);
    for (int frame = 1; frame <= 32; ++frame) {
        drawCrosshair();
        EXPECT_EQ(sim::crosshairStrength(), frame < 30 ? frame : 30) << "frame " << frame;
    }
    sim::setCamera(0, 9); // nothing aimed
    drawCrosshair();
    EXPECT_EQ(sim::crosshairStrength(), 0);

    sim::setCrosshairStrength(100000); // whatever the game left there
    sim::setCamera(0, 7);
    drawCrosshair();
    EXPECT_EQ(sim::crosshairStrength(), 30);

    // The gates stop it before it touches the counter.
    for (auto gate : {+[] { sim::setHudShown(false); }, +[] { sim::setMenuActive(true); },
                      +[] { sim::setHudSuppressed(true); }}) {
        SetUp();
        sim::setCamera(0, 7);
        sim::setCrosshairStrength(12);
        gate();
        drawCrosshair();
        EXPECT_TRUE(sim::calls().empty());
        EXPECT_EQ(sim::crosshairStrength(), 12);
    }
}

TEST_F(CrosshairTest, ActiveCameraIndexPicksTheRecordAndStaysInsideTheArray) {
    sim::setCamera(1, 34);
    sim::setCamera(2, 7);
    sim::setCamera(3, 44); // past the array: never read
    sim::setActiveCamera(1);
    drawCrosshair();
    EXPECT_EQ(sprites().size(), 1u); // the centred crosshair of mode 34
    for (uint8_t index : {2, 3, 200, 255}) {
        SCOPED_TRACE(+index);
        sim::clearCalls();
        sim::setActiveCamera(index);
        drawCrosshair();
        EXPECT_EQ(sprites().size(), 4u); // the last record's sniper scope
    }
}

} // namespace
