// Area and vehicle names drawn straight from the drawer, in the simulated game (build 100).
#include "config/hud_settings.h"
#include "hud/area_vehicle_names.h"
#include "hud/hud_drawers.h"
#include "names/name_test_support.h"
#include "sim/host_data.h"
#include "sim/host_names.h"

#include <gtest/gtest.h>

namespace {

using names_testing::Expected;
using names_testing::nameAlpha;
using names_testing::printedTexts;

using names_testing::unitX;
using names_testing::unitY;

class NameDisplays : public testing::Test {
  protected:
    void SetUp() override {
        sim::layOut(sim::Build::v100);
        hudSettings = HudSettings{};
        // The game's values are all 0 here: both displays start idle.
        seedNameDisplays();
    }

    // One frame; the time step is 1/50 s unless a test changes it, so each frame is 20 ms.
    static std::vector<names_testing::Printed> frame() {
        sim::clearCalls();
        drawAreaAndVehicleNames(0);
        return printedTexts();
    }
    // The name's alpha on each of frames 1..count (index 0 unused).
    static std::vector<int> alphas(const std::u16string& name, int count) {
        std::vector<int> result{-1};
        for (int i = 1; i <= count; ++i)
            result.push_back(nameAlpha(frame(), name));
        return result;
    }
};

TEST_F(NameDisplays, ANewAreaFadesInHoldsForTenSecondsOfDrawnTimeAndFadesOut) {
    sim::setAreaName("Lindenmoor");
    const auto a = alphas(u"Lindenmoor", 560);
    // Fade in by 20 thousandths a frame; alpha = fade * 255 / 1000, truncated.
    EXPECT_EQ(a[1], 5);    // 20 * 0.255 = 5.1
    EXPECT_EQ(a[2], 10);   // 40 * 0.255 = 10.2
    EXPECT_EQ(a[49], 249); // 980 * 0.255 = 249.9
    EXPECT_EQ(a[50], 255); // 1000
    // Held while no more than 10000 ms were drawn before the frame: 20 * 500 at frame 501.
    for (int i = 51; i <= 502; ++i)
        ASSERT_EQ(a[i], 255) << "frame " << i;
    EXPECT_EQ(a[503], 249); // fading out: 1000 - 20 = 980
    EXPECT_EQ(a[527], 127); // 1000 - 25 * 20 = 500, 127.5
    EXPECT_EQ(a[552], 0);   // 1000 - 50 * 20 = 0
    EXPECT_EQ(a[553], 0);   // below 0: idle, drawn this last time at 0
    EXPECT_EQ(a[554], -1);
    EXPECT_EQ(a[560], -1);
}

TEST_F(NameDisplays, NamesSitAtTheirSettingsRightAlignedWithAShadowOneUnitRightAndDown) {
    hudSettings.ZONE_VEHICLE_FONT = 2;
    sim::setAreaName("Lindenmoor");
    sim::setVehicleName("Vireon");
    sim::clearCalls();
    drawAreaAndVehicleNames(0);

    const double scaleX = 0.45 * unitX; // BIGTEXT_SCALE 0.45 1.0
    const double scaleY = 1.0 * unitY;
    const double nameX = 1920 - 32 * unitX; // ZONE_RIGHT and VEHICLE_RIGHT 32
    const double areaY = 1080 - 40 * unitY; // ZONE_BOTTOM 40
    const double vehicleY = 1080 - 60 * unitY;
    const sim::Colour shadow{0, 0, 0, 5}; // first frame: 20 * 0.255
    const sim::Colour zone{152, 154, 82, 5};
    const sim::Colour vehicle{194, 165, 120, 5};
    auto textState = [&] {
        return std::vector<Expected>{
            {"textSwitch501C80"},  {"textSwitch501DA0"},
            {"textSwitch501CF0"},  {"setTextScale", {scaleX, scaleY}},
            {"setRightJustifyOn"}, {"setRightJustifyWidth", {0.0}},
            {"textSwitch501D40"},  {"setFont", {2}},
        };
    };
    std::vector<Expected> expected = textState();
    expected.push_back({"setTextColour", {}, shadow});
    expected.push_back({"printText", {nameX + unitX, areaY + unitY}, {}, "", u"Lindenmoor"});
    expected.push_back({"setTextColour", {}, zone});
    expected.push_back({"printText", {nameX, areaY}, {}, "", u"Lindenmoor"});
    for (const auto& call : textState())
        expected.push_back(call);
    expected.push_back({"setTextColour", {}, shadow});
    expected.push_back({"printText", {nameX + unitX, vehicleY + unitY}, {}, "", u"Vireon"});
    expected.push_back({"setTextColour", {}, vehicle});
    expected.push_back({"printText", {nameX, vehicleY}, {}, "", u"Vireon"});
    names_testing::expectCalls(sim::calls(), expected);
}

TEST_F(NameDisplays, TheGamesTextSizeSettingNarrowsTheNames) {
    sim::setAreaName("Lindenmoor");
    sim::setVehicleName("Vireon");
    struct Case {
        uint8_t setting;
        double areaFactor, vehicleFactor;
    };
    for (const Case c : {Case{2, 1.0, 1.0}, Case{3, 1.0, 0.85}, Case{4, 0.8, 0.85}}) {
        sim::setTextSizeSetting(c.setting);
        frame();
        const auto scales = sim::callsTo("setTextScale");
        ASSERT_EQ(scales.size(), 2u);
        EXPECT_NEAR(scales[0].numbers[0], 0.45 * c.areaFactor * unitX, 1e-5) << int(c.setting);
        EXPECT_NEAR(scales[1].numbers[0], 0.45 * c.vehicleFactor * unitX, 1e-5) << int(c.setting);
        EXPECT_NEAR(scales[1].numbers[1], unitY, 1e-5);
    }
}

TEST_F(NameDisplays, ANewAreaWhileTheOldIsFadingInFadesTheOldOutFromWhereItWas) {
    sim::setAreaName("Lindenmoor");
    for (int i = 1; i <= 8; ++i)
        frame();
    EXPECT_EQ(nameAlpha(frame(), u"Lindenmoor"), 45); // frame 9: 180 * 0.255 = 45.9

    sim::setAreaName("Moravik");
    auto printed = frame(); // frame 10: the old name goes back down, 180 - 20 = 160
    EXPECT_EQ(nameAlpha(printed, u"Lindenmoor"), 40);
    EXPECT_EQ(nameAlpha(printed, u"Moravik"), -1);
    EXPECT_EQ(nameAlpha(frame(), u"Lindenmoor"), 35); // 140 * 0.255 = 35.7
    for (int i = 12; i <= 17; ++i)
        frame();
    EXPECT_EQ(nameAlpha(frame(), u"Lindenmoor"), 0); // frame 18: 160 - 8 * 20 = 0
    printed = frame();                            // frame 19: below 0, the new name takes over
    EXPECT_EQ(nameAlpha(printed, u"Lindenmoor"), -1);
    EXPECT_EQ(nameAlpha(printed, u"Moravik"), 0);
    EXPECT_EQ(nameAlpha(frame(), u"Moravik"), 5); // and fades in from 0
}

TEST_F(NameDisplays, AVehiclesHoldStartsWithItsNameButAnAreasWhenTheNameChanged) {
    sim::setAreaName("Lindenmoor");
    sim::setVehicleName("Vireon");
    for (int i = 1; i <= 59; ++i)
        frame(); // both fully shown since frame 51
    sim::setAreaName("Moravik");
    sim::setVehicleName("Ostrel");
    std::vector<int> area{-1}, vehicle{-1};
    for (int i = 60; i <= 620; ++i) {
        const auto printed = frame();
        area.push_back(nameAlpha(printed, u"Moravik"));
        vehicle.push_back(nameAlpha(printed, u"Ostrel"));
    }
    auto at = [](const std::vector<int>& alphas, int frameNumber) {
        return alphas[frameNumber - 59];
    };
    // The old names fade out over frames 60..109 (1000 - 50 * 20 = 0); at frame 110 the new
    // ones come in at 0 and are fully shown from frame 161 (51 * 20 > 1000).
    EXPECT_EQ(at(vehicle, 109), -1);
    EXPECT_EQ(at(vehicle, 110), 0);
    EXPECT_EQ(at(area, 110), 0);
    EXPECT_EQ(at(area, 161), 255);
    EXPECT_EQ(at(vehicle, 161), 255);
    // The area's timer was set to 5 at frame 60 and counts on: 5 + 20 * 500 > 10000 at 560.
    EXPECT_EQ(at(area, 560), 255);
    EXPECT_EQ(at(area, 561), 249);
    // The vehicle's restarted at frame 110: 20 * 501 > 10000 at frame 611.
    EXPECT_EQ(at(vehicle, 611), 255);
    EXPECT_EQ(at(vehicle, 612), 249);
}

TEST_F(NameDisplays, NoAreaFreezesTheAreaNameButOnFootTheVehicleNameIsGoneAtOnce) {
    sim::setAreaName("Lindenmoor");
    sim::setVehicleName("Vireon");
    for (int i = 1; i <= 4; ++i)
        frame();
    auto printed = frame(); // frame 5: 100 * 0.255 = 25.5
    EXPECT_EQ(nameAlpha(printed, u"Lindenmoor"), 25);
    EXPECT_EQ(nameAlpha(printed, u"Vireon"), 25);

    sim::setAreaName("");
    sim::setVehicleName("");
    for (int i = 0; i < 30; ++i)
        EXPECT_TRUE(frame().empty());

    sim::setAreaName("Lindenmoor");
    sim::setVehicleName("Vireon");
    printed = frame();
    EXPECT_EQ(nameAlpha(printed, u"Lindenmoor"), 30); // carries on: 120 * 0.255 = 30.6
    EXPECT_EQ(nameAlpha(printed, u"Vireon"), 5);  // a new name again: 20 * 0.255
}

TEST_F(NameDisplays, ASubtitleOrAWastedMessageHidesTheNamesAndStopsTheirClock) {
    sim::setAreaName("Lindenmoor");
    std::vector<int> a{-1};
    for (int i = 1; i <= 560; ++i) {
        sim::setSubtitle(i >= 100 && i < 130 ? "Get in the car." : "");
        sim::setMessage(2, i >= 200 && i < 220 ? "WASTED" : "");
        a.push_back(nameAlpha(frame(), u"Lindenmoor"));
    }
    EXPECT_EQ(a[99], 255);
    for (int i = 100; i < 130; ++i)
        EXPECT_EQ(a[i], -1) << "frame " << i;
    for (int i = 200; i < 220; ++i)
        EXPECT_EQ(a[i], -1) << "frame " << i;
    // 50 covered frames do not count: the hold ends at frame 502 + 50 = 552, not 502.
    EXPECT_EQ(a[503], 255);
    EXPECT_EQ(a[552], 255);
    EXPECT_EQ(a[553], 249);
}

TEST_F(NameDisplays, TheFadeTakesAboutASecondAtAnyFrameRate) {
    struct Case {
        float tick; // fiftieths of a second per frame
        int firstOpaqueFrame;
    };
    // 50 ms frames: 1000 / 50 = 20 frames. 20 ms: 1000 / 20 = 50. At 60 frames a second
    // (16.67 ms) each frame adds 16 after truncation: 63 frames, 1050 ms.
    for (const Case c : {Case{2.5f, 20}, Case{1.0f, 50}, Case{50.0f / 60.0f, 63}}) {
        SetUp();
        sim::setTimeStep(c.tick);
        sim::setAreaName("Lindenmoor");
        int frameNumber = 1;
        while (nameAlpha(frame(), u"Lindenmoor") != 255 && frameNumber < 200)
            ++frameNumber;
        EXPECT_EQ(frameNumber, c.firstOpaqueFrame) << "tick " << c.tick;
    }
}

} // namespace
