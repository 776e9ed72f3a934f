// The three radar routines the plug-in puts in place of the game's, reached the way the game
// reaches them: by calling the game's own routine addresses once the radar set-up has run.
#include "config/hud_settings.h"
#include "frame_support.h"
#include "hud/radar_routines.h"
#include "sim/host_data.h"
#include "sim/host_radar.h"
#include "support/plugin_session.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <string>

namespace {

using sim::RadarPoint;
using testing::ElementsAre;
using testing_support::PluginSession;

constexpr uint32_t replacedRoutines[] = {sim::radarMaskFansRoutine, sim::radarToScreenRoutine,
                                         sim::radarLimitRoutine};

uint32_t jumpTarget(uint32_t address) {
    int32_t displacement;
    std::memcpy(&displacement, reinterpret_cast<const void*>(address + 1), 4);
    return address + 5 + displacement;
}

class RadarRoutines : public testing::Test {
  protected:
    void SetUp() override {
        testing_support::removeDataFolder();
        session = std::make_unique<PluginSession>();
        sim::fire(sim::Event::RadarPatch);
        sim::clearCalls();
    }
    void TearDown() override {
        session.reset();
        testing_support::removeDataFolder();
    }
    std::unique_ptr<PluginSession> session;
};

TEST(RadarSetup, BeforeTheRadarSetUpTheGamesOwnRoutinesRun) {
    PluginSession session;
    sim::clearCalls();
    const RadarPoint centre = sim::radarToScreen({0, 0});
    RadarPoint far{3, 0};
    sim::radarLimit(far);
    sim::radarMaskFans();
    EXPECT_THAT(frame_test::routineNames(),
                ElementsAre("gameRadarToScreen", "gameRadarLimit", "gameRadarMaskFans"));
    // The game's own round radar sits at (100, 100).
    EXPECT_EQ(centre.x, 100.0f);
    EXPECT_EQ(centre.y, 100.0f);
}

TEST_F(RadarRoutines, EachGameRoutineStartsWithAJumpIntoThePlugin) {
    uint32_t targets[3];
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(sim::bytes(replacedRoutines[i], 1)[0], 0xE9);
        targets[i] = jumpTarget(replacedRoutines[i]);
        EXPECT_TRUE(session->inPlugin(targets[i])) << std::hex << replacedRoutines[i];
    }
    EXPECT_NE(targets[0], targets[1]);
    EXPECT_NE(targets[1], targets[2]);
    EXPECT_NE(targets[0], targets[2]);

    // The game's versions no longer run; the plug-in's figures come back instead.
    RadarPoint far{3, 0};
    EXPECT_EQ(sim::radarLimit(far), 3.0f);
    EXPECT_EQ(sim::radarToScreen({0, 0}).x, 182.0f);
    sim::radarMaskFans();
    EXPECT_EQ(sim::countCalls("gameRadarToScreen") + sim::countCalls("gameRadarLimit") +
                  sim::countCalls("gameRadarMaskFans"),
              0u);
    EXPECT_EQ(sim::countCalls("drawPrimitive"), 4u);
}

TEST_F(RadarRoutines, EverySetUpWritesTheSameBytesAndTouchesNothingElse) {
    const auto before = sim::snapshot();
    sim::fire(sim::Event::RadarPatch);
    EXPECT_TRUE(sim::snapshot() == before);
}

struct RadarRectangle {
    int screenWidth, screenHeight;
    float left, width, top, height; // pixels; top counted from the screen's top
};

TEST_F(RadarRoutines, TheRadarFillsItsRectangleCutToWholePixelsOfTheShortSide) {
    const RadarRectangle cases[] = {
        // m = 1080: width 1080 * 258 / 1080 = 258, left 53, height 176, top 1080 - 233 = 847.
        {1920, 1080, 53, 258, 847, 176},
        // m = 720: width 172, left 35.33 -> 35, height 117.33 -> 117, top 155.33 -> 155.
        {1280, 720, 35, 172, 720 - 155, 117},
        // m = 600 both ways: width 143.33 -> 143, left 29.44 -> 29, height 97.78 -> 97,
        // top 129.44 -> 129; only the screen height moves the radar vertically.
        {800, 600, 29, 143, 600 - 129, 97},
        {600, 800, 29, 143, 800 - 129, 97},
    };
    for (const RadarRectangle& c : cases) {
        sim::setScreenSize(c.screenWidth, c.screenHeight);
        const RadarPoint topLeft = sim::radarToScreen({-1, 1});
        const RadarPoint bottomRight = sim::radarToScreen({1, -1});
        const RadarPoint centre = sim::radarToScreen({0, 0});
        const std::string screen =
            std::to_string(c.screenWidth) + "x" + std::to_string(c.screenHeight);
        EXPECT_EQ(topLeft.x, c.left) << screen;
        EXPECT_EQ(topLeft.y, c.top) << screen;
        EXPECT_EQ(bottomRight.x, c.left + c.width) << screen;
        EXPECT_EQ(bottomRight.y, c.top + c.height) << screen;
        EXPECT_EQ(centre.x, c.left + c.width / 2) << screen;
        EXPECT_EQ(centre.y, c.top + c.height / 2) << screen;
    }
}

TEST_F(RadarRoutines, TheCentreIsAt182x935OnFullHdAnd121x623Point5On1280x720) {
    RadarPoint centre = sim::radarToScreen({0, 0});
    EXPECT_EQ(centre.x, 182.0f);
    EXPECT_EQ(centre.y, 935.0f);
    sim::setScreenSize(1280, 720);
    centre = sim::radarToScreen({0, 0});
    EXPECT_EQ(centre.x, 121.0f);
    EXPECT_EQ(centre.y, 623.5f);
}

TEST_F(RadarRoutines, AZeroScreenPutsEveryPointAtTheLeftOfTheBottomEdge) {
    sim::setScreenSize(0, 1080);
    const RadarPoint corner = sim::radarToScreen({1, -1});
    EXPECT_EQ(corner.x, 0.0f);
    EXPECT_EQ(corner.y, 1080.0f);
}

TEST_F(RadarRoutines, AReloadedLayoutMovesTheRadarAtTheNextCall) {
    testing_support::writeDataFile("tarvel_III.ini", "INNER_RADAR_SCALE_A = 100 300\n");
    EXPECT_EQ(sim::radarToScreen({-1, 0}).x, 53.0f); // not read yet
    sim::fire(sim::Event::HudDraw);
    EXPECT_EQ(sim::radarToScreen({-1, 0}).x, 100.0f);
    EXPECT_EQ(sim::radarToScreen({1, 0}).x, 100.0f + 300.0f);
}

struct LimitCase {
    RadarPoint in;
    RadarPoint out;
    float length;
};

TEST_F(RadarRoutines, LimitPullsPointsOntoTheSquareAndReturnsTheirLength) {
    const LimitCase cases[] = {
        // sqrt(9) = 3 > sqrt 2: scaled to (sqrt 2, 0), then x cut to 1.
        {{3, 0}, {1, 0}, 3.0f},
        // sqrt(0.5) = 0.70710677 lies inside: nothing moves.
        {{0.5f, 0.5f}, {0.5f, 0.5f}, 0.70710677f},
        // sqrt(1.44 + 0.25) = 1.3 < sqrt 2: only x is cut.
        {{1.2f, 0.5f}, {1, 0.5f}, 1.3f},
        // sqrt(8) = 2.828427: scaled to (1, 1).
        {{2, 2}, {1, 1}, 2.828427f},
        // sqrt(26) = 5.0990195: scaled to (-1.3867505, 0.2773501), then x cut to -1.
        {{-5, 1}, {-1, 0.2773501f}, 5.0990195f},
        // Already on the edge: unchanged.
        {{-1, -1}, {-1, -1}, 1.4142135f},
    };
    for (const LimitCase& c : cases) {
        RadarPoint point = c.in;
        EXPECT_FLOAT_EQ(sim::radarLimit(point), c.length) << c.in.x << ", " << c.in.y;
        EXPECT_FLOAT_EQ(point.x, c.out.x) << c.in.x << ", " << c.in.y;
        EXPECT_FLOAT_EQ(point.y, c.out.y) << c.in.x << ", " << c.in.y;
    }
}

TEST_F(RadarRoutines, MaskFansSetTheRenderStatesAndDrawFourFansThatCoverNothing) {
    sim::radarMaskFans();
    // All eight points of each fan are the radar's centre (182, 935) at 1920 x 1080.
    const std::string fan = "fillVertices(8.000, 182.000, 935.000, 182.000, 935.000, 182.000, "
                            "935.000, 182.000, 935.000, 182.000, 935.000, "
                            "182.000, 935.000, 182.000, 935.000, 182.000, 935.000)\n"
                            "drawPrimitive(5.000, 8.000)\n";
    EXPECT_EQ(frame_test::linesOf({"setRenderState", "fillVertices", "drawPrimitive"}),
              "setRenderState(1.000, 0.000)\n"
              "setRenderState(10.000, 5.000)\n"
              "setRenderState(11.000, 6.000)\n"
              "setRenderState(14.000, 0.000)\n"
              "setRenderState(9.000, 2.000)\n"
              "setRenderState(7.000, 1.000)\n"
              "setRenderState(6.000, 0.000)\n"
              "setRenderState(8.000, 1.000)\n"
              "setRenderState(12.000, 1.000)\n" +
                  fan + fan + fan + fan);
    for (const auto& draw : sim::callsTo("drawPrimitive"))
        EXPECT_EQ(draw.object, sim::radarVertexBuffer);
    const auto points = sim::vertexBufferPoints();
    ASSERT_EQ(points.size(), 8u);
    for (const RadarPoint& p : points) {
        EXPECT_EQ(p.x, 182.0f);
        EXPECT_EQ(p.y, 935.0f);
    }
}

// Settings that are no numbers or far too large still give finite pixels.
class RadarSettings : public frame_test::WhiteBox {};

TEST_F(RadarSettings, NonFiniteAndHugeValuesGiveFinitePoints) {
    const float wild[] = {NAN, INFINITY, -INFINITY, 1e30f, -1e30f};
    for (float a : wild) {
        for (float b : wild) {
            hudSettings.INNER_RADAR_SCALE_A = {a, b};
            hudSettings.INNER_RADAR_SCALE_B = {b, a};
            for (::RadarPoint in : {::RadarPoint{-1, -1}, ::RadarPoint{1, 1}}) {
                ScreenPoint out{};
                radar_to_screen(&out, &in);
                EXPECT_TRUE(std::isfinite(out.x) && std::isfinite(out.y)) << a << ", " << b;
            }
        }
    }
    // A value that is not a number counts as 0: the radar's left edge is at the screen's.
    hudSettings.INNER_RADAR_SCALE_A = {NAN, 258};
    ScreenPoint out{};
    const ::RadarPoint left{-1, 0};
    radar_to_screen(&out, &left);
    EXPECT_EQ(out.x, 0.0f);
}

} // namespace
