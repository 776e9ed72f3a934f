#include "wheel_test_support.h"

namespace wheels_test {
namespace {

using ::testing::ElementsAre;
using ::testing::FloatNear;
using ::testing::Pointwise;

constexpr uint32_t soundManager = 0x8F3964;

class RadioWheel : public WheelTest {
  protected:
    void SetUp() override {
        WheelTest::SetUp();
        hudSettings.RADIO_NAMES = "Harbour,Cross,Rail,Static,";
        sim::setVehicle(true, 3);
        sim::setRadioAvailable(true);
    }
    // Presses the keys for one frame at the given time, then releases them.
    void pressAt(uint32_t time, std::initializer_list<int> keys) {
        for (int key : keys)
            sim::setKey(key, true);
        frameAt(time);
        for (int key : keys)
            sim::setKey(key, false);
    }
};

// --- When it shows -------------------------------------------------------------------------

TEST_F(RadioWheel, RInAnActiveVehicleShowsIconAndNameForThreeSeconds) {
    pressAt(startTime, {'R'});
    const auto icons = sim::callsTo("drawSprite");
    ASSERT_EQ(icons.size(), 1u);
    EXPECT_EQ(icons[0].name, "radio_iii/3");
    EXPECT_EQ(icons[0].colour, (sim::Colour{255, 255, 255, 192}));
    ASSERT_EQ(sim::callsTo("printText").size(), 1u);
    EXPECT_EQ(sim::callsTo("printText")[0].text, u"Static");
    EXPECT_TRUE(radioWheelVisible);

    frameAt(startTime + 3000);
    EXPECT_TRUE(radioWheelDrawn());
    frameAt(startTime + 3001);
    EXPECT_FALSE(radioWheelDrawn());
    EXPECT_FALSE(radioWheelVisible);
}

TEST_F(RadioWheel, HoldingRKeepsItUp) {
    sim::setKey('R', true);
    for (uint32_t t = 0; t <= 6000; t += 2000)
        frameAt(startTime + t);
    sim::setKey('R', false);
    frameAt(startTime + 6000 + 3000);
    EXPECT_TRUE(radioWheelDrawn());
}

TEST_F(RadioWheel, KeyTwoRefreshesItOnlyWhileTheMouseWheelStandsStill) {
    sim::setMouseWheel(true, false);
    pressAt(startTime, {'2'});
    sim::setMouseWheel(false, false);
    frameAt(startTime + 1);
    EXPECT_FALSE(radioWheelDrawn());

    sim::setMouseWheel(false, true);
    pressAt(startTime + 2, {'2'});
    sim::setMouseWheel(false, false);
    frameAt(startTime + 3);
    EXPECT_FALSE(radioWheelDrawn());

    pressAt(startTime + 4, {'2'});
    EXPECT_TRUE(radioWheelDrawn());
}

TEST_F(RadioWheel, RWithBothTheMiddleButtonAndKeyOneHeldDoesNotRefreshIt) {
    // Either of them alone shows the weapon wheel for a second; the radio wheel comes after.
    pressAt(startTime, {'R', VK_MIDDLE_BUTTON, '1'});
    frameAt(startTime + 1001);
    EXPECT_FALSE(radioWheelDrawn());
}

TEST_F(RadioWheel, RWithOnlyOneOfTheMiddleButtonAndKeyOneRefreshesIt) {
    for (int weaponKey : std::vector<int>{VK_MIDDLE_BUTTON, '1'}) {
        radioWheelDeadline = 0;
        weaponWheelDeadline = 0;
        radioWheelVisible = false;
        pressAt(startTime, {'R', weaponKey});
        EXPECT_TRUE(weaponWheelDrawn()) << weaponKey;
        EXPECT_FALSE(radioWheelDrawn()) << weaponKey;
        frameAt(startTime + 1001); // the weapon wheel's second is over
        EXPECT_FALSE(weaponWheelDrawn()) << weaponKey;
        EXPECT_TRUE(radioWheelDrawn()) << weaponKey;
    }
}

TEST_F(RadioWheel, HoldingXTunesToStationTenOnEveryFrameAndRefreshesNothing) {
    sim::setKey('X', true);
    sim::setKey('R', true); // X wins over R
    for (uint32_t t = 0; t < 3; ++t)
        frameAt(startTime + 20 * t);
    const auto calls = sim::callsTo("setRadioStation");
    ASSERT_EQ(calls.size(), 1u); // the log holds the last frame only
    EXPECT_EQ(calls[0].object, soundManager);
    EXPECT_THAT(calls[0].numbers, ElementsAre(10));
    EXPECT_FALSE(radioWheelDrawn());

    int frames = 0;
    for (uint32_t t = 0; t < 5; ++t) {
        frameAt(startTime + 100 + 20 * t);
        frames += static_cast<int>(sim::countCalls("setRadioStation"));
    }
    EXPECT_EQ(frames, 5);

    sim::setKey('X', false);
    frameAt(startTime + 200);
    EXPECT_EQ(sim::countCalls("setRadioStation"), 0u);
    EXPECT_TRUE(radioWheelDrawn()); // R alone now
}

TEST_F(RadioWheel, HoldingXShowsItWhileAnEarlierDeadlineRuns) {
    pressAt(startTime, {'R'});
    sim::setKey('X', true);
    frameAt(startTime + 3000);
    EXPECT_TRUE(radioWheelDrawn());
    EXPECT_EQ(sim::countCalls("setRadioStation"), 1u);
    frameAt(startTime + 3001);
    EXPECT_FALSE(radioWheelDrawn());
    EXPECT_EQ(sim::countCalls("setRadioStation"), 1u);
}

TEST_F(RadioWheel, LeavingTheVehicleHidesItAndLetsTheWeaponWheelShow) {
    pressAt(startTime, {'R'});
    ASSERT_TRUE(radioWheelDrawn());

    sim::setVehicle(false);
    sim::setMouseWheel(true, false);
    frameAt(startTime + 20); // the weapon wheel still saw last frame's radio wheel
    EXPECT_FALSE(radioWheelDrawn());
    EXPECT_FALSE(weaponWheelDrawn());
    sim::setMouseWheel(false, false);
    frameAt(startTime + 40); // well inside the radio wheel's three seconds
    EXPECT_FALSE(radioWheelDrawn());
    EXPECT_TRUE(weaponWheelDrawn());
}

TEST_F(RadioWheel, WithoutTheRadioByteNothingActsNotEvenX) {
    sim::setRadioAvailable(false);
    pressAt(startTime, {'R', 'X'});
    EXPECT_FALSE(radioWheelDrawn());
    EXPECT_EQ(sim::countCalls("setRadioStation"), 0u);
    sim::setRadioAvailable(true);
    frameAt(startTime + 1); // R was not taken while inactive
    EXPECT_FALSE(radioWheelDrawn());
}

TEST_F(RadioWheel, TheWheelsNeverShowInTheSameFrame) {
    struct Step {
        uint32_t after; // ms since the step before
        std::vector<int> keys;
        bool turning;
    };
    const Step steps[] = {
        {300, {'R'}, false},      {300, {'R', VK_MIDDLE_BUTTON}, false},
        {300, {}, true},          {300, {'2'}, false},
        {300, {'1'}, false},      {3100, {'1'}, false},
        {300, {'R'}, true},       {300, {'R', '1'}, false},
        {1100, {'R'}, false},     {300, {'X'}, true},
        {300, {'2', 'R'}, false}, {3100, {}, true},
        {300, {'R'}, false},      {20, {'2'}, true},
        {20, {}, false},
    };
    uint32_t t = startTime;
    int weaponFrames = 0, radioFrames = 0;
    for (const auto& step : steps) {
        t += step.after;
        sim::setMouseWheel(step.turning, false);
        for (int key : step.keys)
            sim::setKey(key, true);
        frameAt(t);
        for (int key : step.keys)
            sim::setKey(key, false);
        EXPECT_FALSE(weaponWheelDrawn() && radioWheelDrawn()) << t;
        weaponFrames += weaponWheelDrawn();
        radioFrames += radioWheelDrawn();
    }
    EXPECT_GT(weaponFrames, 2);
    EXPECT_GT(radioFrames, 2);
}

// --- What it draws -------------------------------------------------------------------------

TEST_F(RadioWheel, ScaleOneThirtyAtFullHdIsA585By627RectangleCentred) {
    hudSettings.RADIO_WHEEL_SCALE = 130.0f;
    pressAt(startTime, {'R'});
    ASSERT_EQ(sim::callsTo("drawSprite").size(), 1u);
    const auto r = sim::callsTo("drawSprite")[0].numbers; // left, bottom, right, top
    // a = 130 * 1080 / 480 = 292.5; b = 130 * 1080 / 448 = 313.39
    EXPECT_THAT(r, Pointwise(FloatNear(0.01), std::vector<double>{960 - 292.5, 540 + 313.393,
                                                                  960 + 292.5, 540 - 313.393}));
    EXPECT_NEAR(r[2] - r[0], 585.0, 0.01);
    EXPECT_NEAR(r[1] - r[3], 626.79, 0.01);
}

TEST_F(RadioWheel, CaptionBeforeTheIconWithFontBeforeColour) {
    pressAt(startTime, {'R'});
    EXPECT_THAT(routinesFrom("setCentreOn"),
                ElementsAre("setCentreOn", "setFont", "setTextColour", "setDropShadowOffset",
                            "setDropShadowColour", "setTextScale", "textSwitch501DA0", "printText",
                            "drawSprite"));
    EXPECT_THAT(sim::callsTo("setFont")[0].numbers, ElementsAre(2));
    EXPECT_EQ(sim::callsTo("setTextColour")[0].colour, (sim::Colour{255, 255, 255, 255}));
    EXPECT_EQ(sim::callsTo("setDropShadowColour")[0].colour, (sim::Colour{0, 0, 0, 255}));
    EXPECT_THAT(sim::callsTo("printText")[0].numbers, ElementsAre(960, 540));
}

TEST_F(RadioWheel, TheIconFollowsTheStationOnEveryRunShownOrNot) {
    sim::setVehicle(true, 7);
    frameAt(startTime);
    EXPECT_EQ(sim::textureName(reinterpret_cast<uint32_t>(&hudTextures.radioWheelSprite)),
              "radio_iii/7");
    sim::setVehicle(false, 7); // without a vehicle: station 0
    frameAt(startTime + 1);
    EXPECT_EQ(sim::textureName(reinterpret_cast<uint32_t>(&hudTextures.radioWheelSprite)),
              "radio_iii/0");
}

TEST_F(RadioWheel, StationsAboveTenHideItAndKeepTheLastIcon) {
    pressAt(startTime, {'R'});
    ASSERT_TRUE(radioWheelDrawn());
    for (int8_t station : {int8_t{11}, int8_t{-1}, int8_t{-128}}) {
        sim::setVehicle(true, station);
        pressAt(startTime + 10, {'R', 'X'});
        EXPECT_FALSE(radioWheelDrawn()) << int(station);
        EXPECT_EQ(sim::countCalls("findTexture"), 2u) << int(station); // the weapon wheel's two
        EXPECT_EQ(sim::countCalls("setRadioStation"), 0u);
        EXPECT_EQ(sim::textureName(reinterpret_cast<uint32_t>(&hudTextures.radioWheelSprite)),
                  "radio_iii/3");
    }
}

TEST_F(RadioWheel, StationTenIsTheLastOneShown) {
    hudSettings.RADIO_NAMES = "0,1,2,3,4,5,6,7,8,9,Off,";
    sim::setVehicle(true, 10);
    pressAt(startTime, {'R'});
    ASSERT_TRUE(radioWheelDrawn());
    EXPECT_EQ(sim::callsTo("drawSprite")[0].name, "radio_iii/10");
    EXPECT_EQ(sim::callsTo("printText")[0].text, u"Off");
}

TEST_F(RadioWheel, StationsBeyondTheNamesPrintEmptyTextUnlessAnEarlierListNamedThem) {
    frameAt(startTime); // the fixture's longer list names station 3
    hudSettings.RADIO_NAMES = "A,B,C,";
    pressAt(startTime + 1, {'R'});
    EXPECT_EQ(sim::callsTo("printText")[0].text, u"Static");
    radioNameTable = {};
    frameAt(startTime + 2);
    EXPECT_EQ(sim::callsTo("printText")[0].text, u"");
    sim::setVehicle(true, 2);
    frameAt(startTime + 3);
    EXPECT_EQ(sim::callsTo("printText")[0].text, u"C");
}

TEST_F(RadioWheel, ALongerListFillsTheTwelveEntriesAndDropsTheRest) {
    hudSettings.RADIO_NAMES = "r0,r1,r2,r3,r4,r5,r6,r7,r8,r9,r10,r11,r12,r13,";
    sim::setVehicle(true, 10);
    pressAt(startTime, {'R'});
    EXPECT_EQ(sim::callsTo("printText")[0].text, u"r10");
    EXPECT_EQ(radioNameTable[11], "r11");
}

} // namespace
} // namespace wheels_test
