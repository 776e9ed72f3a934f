// The frame driver: the game's HUD switched off every frame, the settings re-read, the drawing
// gates, the vertical offset of the names and the weapon wheel's geometry.
#include "config/hud_settings.h"
#include "frame_support.h"
#include "plugin/hud_frame.h"
#include "sim/host_data.h"
#include "sim/host_radar.h"
#include "sim/service_calls.h"
#include "support/plugin_session.h"
#include "wheels/screen_metrics.h"
#include "wheels/wheel_state.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;
using testing_support::PluginSession;

const Bytes returnAtOnce = {0xC3, 0x00, 0x00, 0x00};
const Bytes noOperation = {0x90};

class FrameDriver : public testing::Test {
  protected:
    void SetUp() override { testing_support::removeDataFolder(); }
    void TearDown() override { testing_support::removeDataFolder(); }
};

void expectHudSwitchedOff() {
    EXPECT_EQ(sim::bytes(sim::hudRoutineA, 4), returnAtOnce);
    EXPECT_EQ(sim::bytes(sim::hudRoutineB, 4), returnAtOnce);
    EXPECT_EQ(sim::bytes(sim::hudCodeByteA, 1), noOperation);
    EXPECT_EQ(sim::bytes(sim::hudCodeByteB, 1), noOperation);
}

TEST_F(FrameDriver, OneFrameSwitchesOffTheGamesHudRoutinesAndBytes) {
    PluginSession session;
    // The game's own code first: its routines run, its bytes are no NOPs.
    sim::callAt(sim::hudRoutineA);
    sim::callAt(sim::hudRoutineB);
    EXPECT_EQ(sim::countCalls("gameHudRoutine"), 2u);
    EXPECT_NE(sim::bytes(sim::hudCodeByteA, 1), noOperation);
    EXPECT_NE(sim::bytes(sim::hudCodeByteB, 1), noOperation);
    const Bytes around = sim::bytes(sim::hudCodeByteB - 1, 0x18);

    sim::fire(sim::Event::HudDraw);
    expectHudSwitchedOff();
    // Only the two bytes changed in that stretch of game code.
    Bytes expected = around;
    expected[1] = 0x90;
    expected[1 + sim::hudCodeByteA - sim::hudCodeByteB] = 0x90;
    EXPECT_EQ(sim::bytes(sim::hudCodeByteB - 1, 0x18), expected);

    // The two routines now return at once.
    sim::clearCalls();
    sim::callAt(sim::hudRoutineA);
    sim::callAt(sim::hudRoutineB);
    EXPECT_EQ(sim::countCalls("gameHudRoutine"), 0u);
}

TEST_F(FrameDriver, PatchesUndoneByTheGameAreWrittenAgainNextFrame) {
    PluginSession session;
    sim::fire(sim::Event::HudDraw);
    sim::restoreHudCode();
    EXPECT_EQ(sim::bytes(sim::hudRoutineA, 1), Bytes{0xE9});
    sim::fire(sim::Event::HudDraw);
    expectHudSwitchedOff();
}

TEST_F(FrameDriver, AFrameWritesOnlyTheGameBytesThatSomethingElseChanged) {
    PluginSession session;
    sim::countServiceCalls(GetModuleHandleA("tarvel_hud.dll"));
    sim::fire(sim::Event::HudDraw);
    sim::resetServiceCalls();
    sim::fire(sim::Event::HudDraw);
    EXPECT_EQ(sim::serviceCalls().protectionChanges, 0) << "bytes already in place";

    sim::at<uint8_t>(sim::hudCodeByteB) = 0x74;
    sim::fire(sim::Event::HudDraw);
    expectHudSwitchedOff();
    EXPECT_EQ(sim::serviceCalls().protectionChanges, 2) << "one window, for the changed byte";
}

std::string dataFilePath(const std::string& relativeName) {
    return testing_support::gameDirectory() + "tarvel_moravik\\" + relativeName;
}

FILETIME lastWriteOf(const std::string& relativeName) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExA(dataFilePath(relativeName).c_str(), GetFileExInfoStandard, &data);
    return data.ftLastWriteTime;
}

void setLastWrite(const std::string& relativeName, FILETIME time) {
    HANDLE file = CreateFileA(dataFilePath(relativeName).c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    SetFileTime(file, nullptr, nullptr, &time);
    CloseHandle(file);
}

FILETIME hoursAgo(int hours) {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    const uint64_t ticks = (uint64_t{now.dwHighDateTime} << 32 | now.dwLowDateTime) -
                           uint64_t{36'000'000'000} * static_cast<uint64_t>(hours);
    return {static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}

// Each layout gives the radar's left edge at `left` pixels, in files of one size.
void writeRadarLayout(const std::string& relativeName, int left) {
    testing_support::writeDataFile(relativeName,
                                   "INNER_RADAR_SCALE_A = " + std::to_string(left) + " 258\n");
}

TEST_F(FrameDriver, AnEditSavedTwiceWithinOneTickOfTheFileClockShows) {
    writeRadarLayout("tarvel_III.ini", 100);
    PluginSession session;
    sim::fire(sim::Event::RadarPatch);
    sim::fire(sim::Event::HudDraw);
    EXPECT_EQ(sim::radarToScreen({-1, 0}).x, 100.0f);

    // Same size, same last-write time: the file system's stamp tells nothing.
    const FILETIME written = lastWriteOf("tarvel_III.ini");
    writeRadarLayout("tarvel_III.ini", 200);
    setLastWrite("tarvel_III.ini", written);
    sim::fire(sim::Event::HudDraw);
    EXPECT_EQ(sim::radarToScreen({-1, 0}).x, 200.0f);
}

// One reading gives the settings and what the log names: the changed file is opened once, the
// other not at all, and the log, which names the reading, stays open from load.
TEST_F(FrameDriver, AFrameAfterAnEditOpensTheChangedFileOnce) {
    writeRadarLayout("tarvel_III.ini", 100);
    testing_support::writeDataFile("color_configs/VColors.ini", "MONEY_COLOR = 1 2 3 4\n");
    setLastWrite("tarvel_III.ini", hoursAgo(2));
    setLastWrite("color_configs/VColors.ini", hoursAgo(2));
    PluginSession session;
    sim::countServiceCalls(GetModuleHandleA("tarvel_hud.dll"));
    sim::fire(sim::Event::RadarPatch);
    sim::fire(sim::Event::HudDraw);

    writeRadarLayout("tarvel_III.ini", 200);
    setLastWrite("tarvel_III.ini", hoursAgo(1));
    sim::resetServiceCalls();
    sim::fire(sim::Event::HudDraw);
    EXPECT_EQ(sim::radarToScreen({-1, 0}).x, 200.0f);
    const auto opens = [](const char* name) {
        const auto& opened = sim::serviceCalls().opened;
        return std::count_if(opened.begin(), opened.end(), [&](const std::string& path) {
            return path.size() >= std::strlen(name) &&
                   path.compare(path.size() - std::strlen(name), std::string::npos, name) == 0;
        });
    };
    EXPECT_EQ(opens("tarvel_III.ini"), 1);
    EXPECT_EQ(opens("VColors.ini"), 0);
    EXPECT_EQ(sim::serviceCalls().opened.size(), 1u);
}

TEST_F(FrameDriver, ALayoutReplacedByAnOlderFileOfTheSameSizeShows) {
    writeRadarLayout("tarvel_III.ini", 100);
    setLastWrite("tarvel_III.ini", hoursAgo(1));
    PluginSession session;
    sim::fire(sim::Event::RadarPatch);
    sim::fire(sim::Event::HudDraw);
    EXPECT_EQ(sim::radarToScreen({-1, 0}).x, 100.0f);

    // A backup put back over it.
    writeRadarLayout("backup.ini", 200);
    setLastWrite("backup.ini", hoursAgo(2));
    ASSERT_TRUE(MoveFileExA(dataFilePath("backup.ini").c_str(),
                            dataFilePath("tarvel_III.ini").c_str(), MOVEFILE_REPLACE_EXISTING));
    sim::fire(sim::Event::HudDraw);
    EXPECT_EQ(sim::radarToScreen({-1, 0}).x, 200.0f);
}

TEST_F(FrameDriver, WhileTheGameSuppressesDrawingTheFramePatchesAndReloadsButDrawsNothing) {
    testing_support::writeDataFile("tarvel_III.ini", "INNER_RADAR_SCALE_A = 100 258\n");
    PluginSession session;
    sim::fire(sim::Event::RadarPatch);
    sim::setHudSuppressed(true);
    sim::setRadarSpritesShown(true);
    sim::clearCalls();

    sim::fire(sim::Event::HudDraw);
    expectHudSwitchedOff();
    // The game's own callee is all that ran.
    EXPECT_EQ(frame_test::routineNames(), std::vector<std::string>{"callee"});
    // The radar reads the reloaded layout: its left edge is at 100.
    EXPECT_EQ(sim::radarToScreen({-1, 0}).x, 100.0f);

    testing_support::writeDataFile("tarvel_III.ini", "INNER_RADAR_SCALE_A = 200 258\n");
    sim::fire(sim::Event::HudDraw);
    EXPECT_EQ(sim::radarToScreen({-1, 0}).x, 200.0f);
}

// White-box: the gates and the geometry.
class FrameGates : public frame_test::WhiteBox {
  protected:
    bool firstGroupRan() { return sim::countCalls("radarDrawBlips") > 0; }
    // As the working copy holds it.
    GameHudSwitchedOff gameHud;
};

TEST_F(FrameGates, WithTheHudShownBothGroupsRunAndTheGeometryIsWorkedOut) {
    HudFrame();
    EXPECT_TRUE(firstGroupRan());
    EXPECT_EQ(screenMetrics.centreX, 960.0);
}

TEST_F(FrameGates, AHiddenHudOrAMenuSkipsTheFirstGroupAndKeepsTheGeometry) {
    ScreenMetrics earlier{};
    earlier.centreX = 123.0;
    earlier.fixedQuad.x4 = 456.0;
    for (int hidden = 0; hidden < 2; ++hidden) {
        sim::setHudShown(hidden == 0 ? false : true);
        sim::setMenuActive(hidden == 1);
        screenMetrics = earlier;
        sim::clearCalls();
        HudFrame();
        EXPECT_FALSE(firstGroupRan()) << hidden;
        EXPECT_EQ(std::memcmp(&screenMetrics, &earlier, sizeof earlier), 0) << hidden;
    }
}

TEST_F(FrameGates, TheSuppressionByteStopsEverythingButThePatchesAndTheReload) {
    sim::setHudSuppressed(true);
    testing_support::writeDataFile("tarvel_III.ini", "BAR_THICKNESS = 7\n");
    HudFrame();
    EXPECT_EQ(hudSettings.BAR_THICKNESS, 7.0f);
    expectHudSwitchedOff();
    EXPECT_TRUE(sim::calls().empty()) << sim::describeAll();
    EXPECT_EQ(screenMetrics.centreX, 0.0);
}

TEST_F(FrameGates, TheNamesMoveUpByTheGapOnlyWhileMissionTimersShow) {
    hudSettings.ZONE_VEHICLE_MISSION_TRANSITION_GAP = 15.9f;
    EXPECT_EQ(titleOffset(), 0);
    sim::setMissionTimersShown(true);
    EXPECT_EQ(titleOffset(), 15);
    hudSettings.ZONE_VEHICLE_MISSION_TRANSITION_GAP = -2.7f;
    EXPECT_EQ(titleOffset(), -2);
    // Whatever the file says, the offset is a whole number within range.
    hudSettings.ZONE_VEHICLE_MISSION_TRANSITION_GAP = NAN;
    EXPECT_EQ(titleOffset(), 0);
    hudSettings.ZONE_VEHICLE_MISSION_TRANSITION_GAP = 1e20f;
    EXPECT_EQ(titleOffset(), INT32_MAX);
    hudSettings.ZONE_VEHICLE_MISSION_TRANSITION_GAP = -INFINITY;
    EXPECT_EQ(titleOffset(), INT32_MIN);
}

class WheelGeometry : public frame_test::WhiteBox {
  protected:
    void SetUp() override {
        frame_test::WhiteBox::SetUp();
        hudSettings.WEAP_WHEEL_SCALE_MULTIPLIER = 2.0f;
    }
};

void expectQuad(const QuadCorners& q, std::initializer_list<double> corners, double tolerance) {
    const double actual[] = {q.x1, q.y1, q.x2, q.y2, q.x3, q.y3, q.x4, q.y4};
    int i = 0;
    for (double expected : corners) {
        EXPECT_NEAR(actual[i], expected, tolerance) << "coordinate " << i;
        ++i;
    }
}

TEST_F(WheelGeometry, AtFullHdWithMultiplier2TheWheelIs540Across) {
    computeScreenMetrics();
    EXPECT_EQ(screenMetrics.screenWidth, 1920.0);
    EXPECT_EQ(screenMetrics.screenHeight, 1080.0);
    EXPECT_EQ(screenMetrics.centreX, 960.0);
    EXPECT_EQ(screenMetrics.centreY, 540.0);
    EXPECT_EQ(screenMetrics.wheelHalfSize, 540.0 / 2.0);
    EXPECT_EQ(screenMetrics.fixedAngle, 11.0 / 7.0);
}

TEST_F(WheelGeometry, WeaponZeroLeavesTheSelectorSquareUnturned) {
    currentWeaponIndex = 0;
    computeScreenMetrics();
    // (centre + h, centre + h), (+h, -h), (-h, +h), (-h, -h) with h = 270.
    expectQuad(
        screenMetrics.selectorQuad,
        {960 + 270, 540 + 270, 960 + 270, 540 - 270, 960 - 270, 540 + 270, 960 - 270, 540 - 270},
        0.0);
}

TEST_F(WheelGeometry, WeaponThreeTurnsTheSelectorExactlyLikeTheFixedSquare) {
    currentWeaponIndex = 3;
    computeScreenMetrics();
    const QuadCorners& s = screenMetrics.selectorQuad;
    const QuadCorners& f = screenMetrics.fixedQuad;
    EXPECT_EQ(std::memcmp(&s, &f, sizeof s), 0);
    // cos(11/7) = -0.000632245 and sin(11/7) = 0.9999998, so a = -0.1707060 and
    // b = 269.9999460: corner 1 = (960 + a - b, 540 + a + b), and so on.
    expectQuad(f,
               {689.8293479, 809.8292400, 1229.8292400, 810.1706521, 690.1707600, 269.8293479,
                1230.1706521, 270.1707600},
               1e-6);
}

TEST_F(WheelGeometry, WeaponTwelveTurnsSlightlyMoreThanAFullTurn) {
    currentWeaponIndex = 12;
    computeScreenMetrics();
    // 7920 / 7 / 180 = 6.2857143, 0.0025290 past 2 pi: a = 270 cos = 269.9991366,
    // b = 270 sin = 0.6828235.
    expectQuad(screenMetrics.selectorQuad,
               {1229.3163131, 810.6819601, 1230.6819601, 270.6836869, 689.3180399, 809.3163131,
                690.6836869, 269.3180399},
               1e-6);
}

TEST_F(WheelGeometry, AMultiplierThatIsNoPositiveNumberCountsAsTheBuiltIn195) {
    for (float wrong : {0.0f, -1.0f, NAN, INFINITY}) {
        hudSettings.WEAP_WHEEL_SCALE_MULTIPLIER = wrong;
        computeScreenMetrics();
        EXPECT_DOUBLE_EQ(screenMetrics.wheelHalfSize, 540.0 / double{1.95f}) << wrong;
        const QuadCorners& q = screenMetrics.fixedQuad;
        for (double v : {q.x1, q.y1, q.x2, q.y2, q.x3, q.y3, q.x4, q.y4})
            EXPECT_TRUE(std::isfinite(v)) << wrong;
    }
    // Also on a screen of no size at all.
    sim::setScreenSize(0, 0);
    hudSettings.WEAP_WHEEL_SCALE_MULTIPLIER = 0.0f;
    computeScreenMetrics();
    EXPECT_EQ(screenMetrics.wheelHalfSize, 0.0);
    EXPECT_EQ(screenMetrics.selectorQuad.x1, 0.0);
}

} // namespace
