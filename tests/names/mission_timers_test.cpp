// The mission timer and counter drawn straight from the drawer, in the simulated game.
#include "config/hud_settings.h"
#include "host/hud_textures.h"
#include "hud/hud_drawers.h"
#include "names/name_test_support.h"
#include "sim/host_data.h"
#include "sim/host_timers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

using names_testing::Expected;

using names_testing::unitX;
using names_testing::unitY;

const sim::Colour timerColour{186, 101, 50, 255};
const sim::Colour counterColour{0, 106, 164, 255};
const sim::Colour backgroundColour{1, 2, 3, 4};
const sim::Colour barBackColour{5, 6, 7, 8};
const sim::Colour barFillColour{9, 10, 11, 12};

// The layout the expectations below are worked out for.
constexpr double bottom = 115, right = 65, labelGap = 2, rowGap = 15;
constexpr double valueX = 1920 - right * unitX;      // 1773.75
constexpr double labelX = valueX - labelGap * unitX; // 1769.25
constexpr double valueScaleX = 0.31 * unitX;         // MISSIONTIMERS_SCALE 0.31 0.6
constexpr double valueScaleY = 0.6 * unitY;
constexpr double labelScaleX = (0.31 - 0.1) * unitX; // a tenth smaller
constexpr double labelScaleY = (0.6 - 0.1) * unitY;

class MissionTimers : public testing::Test {
  protected:
    void SetUp() override {
        sim::layOut(sim::Build::v100);
        hudSettings = HudSettings{};
        auto& s = hudSettings;
        s.MISSIONTIMERS_POS_BOTTOM = 115;
        s.MISSIONTIMERS_POS_RIGHT = 65;
        s.MISSIONTIMERS_TIMER_GAP = 2;
        s.MISSIONTIMERS_SCALE = {0.31f, 0.6f};
        s.MISSIONTIMERS_BG_A = {70, 120};
        s.MISSIONTIMERS_BG_B = {10, 100};
        s.MISSIONTIMERBAR_BG_A = {60, 110};
        s.MISSIONTIMERBAR_BG_B = {20, 105};
        s.MISSIONDESCTIMERAB_GAP = 15;
        s.colors.MISSIONTIMER_BG = {1, 2, 3, 4};
        s.colors.MISSIONTIMERBAR_BG = {5, 6, 7, 8};
        s.colors.MISSIONTIMERBAR_FG = {9, 10, 11, 12};
        hudTextures = HudTextures{};
        constructHudSprites();
        loadHudTextures();
        sim::setFrameCounter(4); // bit 2 set: a blinking item shows on this frame
        sim::clearCalls();
    }
    void TearDown() override { releaseHudTextures(); }

    static std::vector<sim::HostCall> frame() {
        sim::clearCalls();
        drawMissionTimers();
        return sim::calls();
    }
    // The value's background, raised by rowRaise units above the timer row.
    static Expected background(double rowRaise) {
        return {"drawSprite",
                {1920 - 70 * unitX, 1080 - (rowRaise + 100) * unitY, 1920 - 10 * unitX,
                 1080 - (rowRaise + 120) * unitY},
                backgroundColour,
                "tarvel_iii/timerbar"};
    }
    static std::vector<Expected> label(const sim::Colour& colour, const std::string& key,
                                       const std::u16string& text, double y) {
        return {{"textSwitch501DA0"},
                {"setTextScale", {labelScaleX, labelScaleY}},
                {"setTextColour", {}, colour},
                {"lookupText", {}, {}, key},
                {"printText", {labelX, y}, {}, "", text}};
    }
};

TEST_F(MissionTimers, TheTimerIsItsValueOnABackgroundWithItsLabelLeftOfIt) {
    sim::setTableText("RACE_T", "Time");
    sim::showMissionTimer("RACE_T", "01:30");
    const double rowY = 1080 - bottom * unitY; // 802.77
    std::vector<Expected> expected = {
        {"asciiToHost", {}, {}, "01:30"},
        {"textSwitch501DA0"},
        {"textSwitch501CF0"},
        {"setTextScale", {valueScaleX, valueScaleY}},
        {"setRightJustifyOn"},
        {"setRightJustifyWidth", {0.0}},
        {"setFont", {0}},
        {"textSwitch501D90"},
        {"textSwitch501D30"},
        {"setTextColour", {}, timerColour},
        background(0),
        {"printText", {valueX, rowY}, {}, "", u"01:30"},
    };
    for (const auto& call : label(timerColour, "RACE_T", u"Time", rowY))
        expected.push_back(call);
    names_testing::expectCalls(frame(), expected);
    EXPECT_EQ(sim::callsTo("lookupText").at(0).object, sim::textTableObject);
}

TEST_F(MissionTimers, ACounterWithoutATimerIsDrawnInTheCounterRow) {
    sim::setTableText("KILLS", "Kills");
    sim::showMissionCounter("KILLS", "3");
    std::vector<Expected> expected = {
        {"asciiToHost", {}, {}, "3"},
        {"textSwitch501DA0"},
        {"textSwitch501CF0"},
        {"setTextScale", {valueScaleX, valueScaleY}},
        {"textSwitch501CB0"},
        {"setRightJustifyOn"},
        {"setRightJustifyWidth", {0.0}},
        {"setFont", {0}},
        {"setWrapWidth", {640 * unitX}},
        {"textSwitch501D90"},
        {"textSwitch501D30"},
        background(rowGap),
        {"setTextColour", {}, counterColour},
        {"printText", {valueX, 1080 - (rowGap + bottom - 0.5) * unitY}, {}, "", u"3"},
    };
    for (const auto& call :
         label(counterColour, "KILLS", u"Kills", 1080 - (rowGap + bottom) * unitY))
        expected.push_back(call);
    names_testing::expectCalls(frame(), expected);
}

TEST_F(MissionTimers, ABarFillsFromItsAEdgeTowardsItsBEdgeAndOvershootsPastAHundred) {
    // MISSIONTIMERBAR_BG_A 60 110, _B 20 105, 15 units above the timer row.
    const double barLeft = 1920 - 60 * unitX;  // 1785
    const double barRight = 1920 - 20 * unitX; // 1875
    const double barBottom = 1080 - (105 + rowGap) * unitY;
    const double barTop = 1080 - (110 + rowGap) * unitY;
    struct Case {
        const char* value;
        double fillRight;
    };
    // fill right = 1920 - (60 - (60 - 20) * percent / 100) * 2.25
    const Case cases[] = {
        {"0", barLeft},                          // no width
        {"100", barRight},                       // the whole bar
        {"150", 1920 - (60 - 40 * 1.5) * unitX}, // 1920: past the B edge
        {"50", 1920 - (60 - 20) * unitX},        // 1830
        {"-25", 1920 - (60 + 10) * unitX},       // 1762.5: the other way
        {"abc", barLeft},                        // no number: 0
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        sim::showMissionCounter("", c.value, sim::CounterKind::Bar);
        names_testing::expectCalls(
            frame(),
            {background(rowGap),
             {"drawPlainRectangle", {barLeft, barBottom, barRight, barTop}, barBackColour},
             {"drawPlainRectangle", {barLeft, barBottom, c.fillRight, barTop}, barFillColour}});
    }
}

TEST_F(MissionTimers, ABarValueTooLongForItsFieldIsReadWithinItAndKeptInRange) {
    sim::showMissionCounter("", "", sim::CounterKind::Bar);
    sim::fillMissionCounterValue('9'); // 42 nines and no end inside the field
    frame();
    const auto fills = sim::callsTo("drawPlainRectangle");
    ASSERT_EQ(fills.size(), 2u);
    // Held at the largest int: 1920 + (40 * 2147483647 / 100 - 60) * 2.25, about 1.93e9.
    EXPECT_NEAR(fills[1].numbers[2], 1920 + (40 * 2147483647.0 / 100 - 60) * unitX, 1e3);
}

TEST_F(MissionTimers, AKeyStartingWithAZeroByteGivesNoLabel) {
    sim::showMissionTimer(std::string("\0TIME", 5), "00:10");
    sim::showMissionCounter(std::string("\0KILLS", 6), "7");
    frame();
    EXPECT_EQ(sim::countCalls("lookupText"), 0u);
    const auto printed = names_testing::printedTexts();
    ASSERT_EQ(printed.size(), 2u);
    EXPECT_EQ(printed[0].text, u"00:10");
    EXPECT_EQ(printed[1].text, u"7");
}

TEST_F(MissionTimers, AFirstAppearanceBlinksForAboutFiftyFrames) {
    sim::setFrameCounter(0); // bit 2 clear: a blinking item is hidden on these frames
    sim::showMissionTimer("", "00:10");
    // The count starts at 1 and goes up before the check: 2 on the first frame, 50 on the
    // 49th, 51 on the 50th, which is past 50 and drops to 0.
    frame();
    EXPECT_EQ(sim::timerBlinkBytes().seen, 1);
    EXPECT_EQ(sim::timerBlinkBytes().count, 2);
    EXPECT_TRUE(names_testing::printedTexts().empty());
    for (int i = 2; i <= 49; ++i) {
        if (i == 10) sim::setFrameCounter(4); // bit 2 set: shown even while blinking
        frame();
        EXPECT_EQ(names_testing::printedTexts().size(), i == 10 ? 1u : 0u) << "frame " << i;
        if (i == 10) sim::setFrameCounter(0);
    }
    EXPECT_EQ(sim::timerBlinkBytes().count, 50);
    frame();
    EXPECT_EQ(sim::timerBlinkBytes().count, 0);
    EXPECT_EQ(names_testing::printedTexts().size(), 1u);
    frame();
    EXPECT_EQ(names_testing::printedTexts().size(), 1u);

    // Hidden for a frame and shown again: it blinks again; the counter has its own bytes.
    sim::hideMissionTimer();
    sim::showMissionCounter("", "1");
    frame();
    EXPECT_EQ(sim::timerBlinkBytes().seen, 0);
    EXPECT_EQ(sim::counterBlinkBytes().seen, 1);
    EXPECT_EQ(sim::counterBlinkBytes().count, 2);
    sim::showMissionTimer("", "00:10");
    frame();
    EXPECT_EQ(sim::timerBlinkBytes().count, 2);
    EXPECT_EQ(sim::counterBlinkBytes().count, 3);
    EXPECT_TRUE(names_testing::printedTexts().empty());
}

TEST_F(MissionTimers, NothingIsDrawnWhileTheGamesTimerOrCounterByteIsClear) {
    sim::showMissionTimer("", "00:10");
    sim::showMissionCounter("", "1");
    sim::setMissionTimersShown(false);
    EXPECT_TRUE(frame().empty());
    EXPECT_EQ(sim::timerBlinkBytes().count, 0) << "no blinking starts either";
}

} // namespace
