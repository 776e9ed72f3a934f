#include "wheel_test_support.h"

namespace wheels_test {
namespace {

using ::testing::ElementsAre;
using ::testing::FloatNear;
using ::testing::Pointwise;

class RadioWheel : public WheelTest {
  protected:
    void SetUp() override {
        WheelTest::SetUp();
        hudSettings.RADIO_NAMES = "Harbour,Cross,Rail,Static,";
        sim::setVehicle(true, 3);
        sim::setRadioAvailable(true);
    }
    // Holds the keys for one frame at the given time.
    void pressAt(uint32_t time, const std::vector<int>& keys) {
        for (int key : keys)
            sim::setKey(key, true);
        frameAt(time);
        for (int key : keys)
            sim::setKey(key, false);
    }
};

TEST_F(RadioWheel, RInAnActiveVehicleShowsCaptionThenIconForThreeSeconds) {
    pressAt(startTime, {'R'});
    EXPECT_THAT(routinesFrom("setCentreOn"),
                ElementsAre("setCentreOn", "setFont", "setTextColour", "setDropShadowOffset",
                            "setDropShadowColour", "setTextScale", "textSwitch501DA0", "printText",
                            "drawSprite"));
    EXPECT_THAT(sim::callsTo("setFont")[0].numbers, ElementsAre(2));
    EXPECT_EQ(sim::callsTo("setTextColour")[0].colour, (sim::Colour{255, 255, 255, 255}));
    EXPECT_EQ(sim::callsTo("printText")[0].text, u"Static");
    EXPECT_THAT(sim::callsTo("printText")[0].numbers, ElementsAre(960, 540));
    EXPECT_EQ(sim::callsTo("drawSprite")[0].name, "radio_iii/3");
    EXPECT_EQ(sim::callsTo("drawSprite")[0].colour, (sim::Colour{255, 255, 255, 192}));

    frameAt(startTime + 3000);
    EXPECT_TRUE(radioWheelDrawn());
    frameAt(startTime + 3001);
    EXPECT_FALSE(radioWheelDrawn());
}

TEST_F(RadioWheel, KeyTwoRefreshesItOnlyWhileTheMouseWheelStandsStill) {
    sim::setMouseWheel(true, false);
    pressAt(startTime, {'2'});
    sim::setMouseWheel(false, false);
    frameAt(startTime + 1);
    EXPECT_FALSE(radioWheelDrawn());
    pressAt(startTime + 2, {'2'});
    EXPECT_TRUE(radioWheelDrawn());
    EXPECT_FALSE(weaponWheelDrawn()); // 2 also blocks the weapon wheel
}

TEST_F(RadioWheel, RWithTheMiddleButtonAndKeyOneTogetherDoesNotRefreshIt) {
    // Either weapon key shows the weapon wheel for a second; the radio wheel may come after.
    const std::vector<int> combinations[] = {
        {'R', VK_MIDDLE_BUTTON}, {'R', '1'}, {'R', VK_MIDDLE_BUTTON, '1'}};
    for (const auto& keys : combinations) {
        radioWheelShown = weaponWheelShown = {};
        radioWheelVisible = false;
        pressAt(startTime, keys);
        EXPECT_FALSE(radioWheelDrawn());
        frameAt(startTime + 1001);
        EXPECT_EQ(radioWheelDrawn(), keys.size() == 2) << keys.size();
    }
}

TEST_F(RadioWheel, HoldingXTunesToStationTenOnEveryFrameAndRefreshesNothing) {
    int calls = 0;
    sim::setKey('X', true);
    sim::setKey('R', true); // X wins
    for (uint32_t t = 0; t < 5; ++t) {
        frameAt(startTime + 20 * t);
        calls += static_cast<int>(sim::countCalls("setRadioStation"));
        EXPECT_FALSE(radioWheelDrawn());
    }
    EXPECT_EQ(calls, 5);
    EXPECT_EQ(sim::callsTo("setRadioStation")[0].object, 0x8F3964u); // the sound manager
    EXPECT_THAT(sim::callsTo("setRadioStation")[0].numbers, ElementsAre(10));

    sim::setKey('X', false);
    frameAt(startTime + 200); // R alone
    sim::setKey('R', false);
    sim::setKey('X', true);
    frameAt(startTime + 200 + 3000); // an earlier deadline still shows it
    EXPECT_TRUE(radioWheelDrawn());
    frameAt(startTime + 200 + 3001);
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
    EXPECT_TRUE(weaponWheelDrawn());
    EXPECT_EQ(sim::textureName(reinterpret_cast<uint32_t>(&hudTextures.radioWheelSprite)),
              "radio_iii/0"); // no vehicle: station 0
}

TEST_F(RadioWheel, WithoutTheRadioByteOrAboveStationTenNothingActs) {
    sim::setRadioAvailable(false);
    pressAt(startTime, {'R', 'X'});
    EXPECT_FALSE(radioWheelDrawn());
    EXPECT_EQ(sim::countCalls("setRadioStation"), 0u);
    sim::setRadioAvailable(true);
    for (int8_t station : {int8_t{11}, int8_t{-1}}) {
        sim::setVehicle(true, station);
        pressAt(startTime + 10, {'R', 'X'});
        EXPECT_FALSE(radioWheelDrawn());
        EXPECT_EQ(sim::countCalls("setRadioStation"), 0u);
        EXPECT_EQ(sim::countCalls("findTexture"), 2u); // the weapon wheel's, not an icon
    }
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
        sim::setMouseWheel(step.turning, false);
        pressAt(t += step.after, step.keys);
        EXPECT_FALSE(weaponWheelDrawn() && radioWheelDrawn()) << t;
        weaponFrames += weaponWheelDrawn();
        radioFrames += radioWheelDrawn();
    }
    EXPECT_GT(weaponFrames, 2);
    EXPECT_GT(radioFrames, 2);
}

TEST_F(RadioWheel, ScaleOneThirtyAtFullHdIsA585By627RectangleCentred) {
    hudSettings.RADIO_WHEEL_SCALE = 130.0f;
    pressAt(startTime, {'R'});
    const auto r = sim::callsTo("drawSprite")[0].numbers; // left, bottom, right, top
    // a = 130 * 1080 / 480 = 292.5; b = 130 * 1080 / 448 = 313.393
    EXPECT_THAT(r, Pointwise(FloatNear(0.01), std::vector<double>{960 - 292.5, 540 + 313.393,
                                                                  960 + 292.5, 540 - 313.393}));
    EXPECT_NEAR(r[2] - r[0], 585.0, 0.01);
    EXPECT_NEAR(r[1] - r[3], 626.79, 0.01);
}

TEST_F(RadioWheel, NamesBeyondTheListKeepEarlierOnesAndExtraNamesAreDropped) {
    frameAt(startTime); // the fixture's list names station 3
    hudSettings.RADIO_NAMES = "A,B,C,";
    pressAt(startTime + 1, {'R'});
    EXPECT_EQ(sim::callsTo("printText")[0].text, u"Static");
    radioNameTable = {};
    frameAt(startTime + 2);
    EXPECT_EQ(sim::callsTo("printText")[0].text, u"");

    hudSettings.RADIO_NAMES = "r0,r1,r2,r3,r4,r5,r6,r7,r8,r9,r10,r11,r12,r13,";
    sim::setVehicle(true, 10);
    frameAt(startTime + 3);
    EXPECT_EQ(sim::callsTo("printText")[0].text, u"r10");
    EXPECT_EQ(sim::callsTo("drawSprite")[0].name, "radio_iii/10");
    EXPECT_EQ(radioNameTable[11], "r11");
}

} // namespace
} // namespace wheels_test
