// A failed allocation inside a handler is not thrown into the game: the game's own call still
// runs and its result goes back, the frame that failed is skipped, and the next one draws.
// The plug-in's library is built into this program, so this program's allocator is its own.
#include "host/game_version.h"
#include "host/host_events.h"
#include "host/hud_textures.h"
#include "plugin/hud_plugin.h"
#include "sim/busy_game.h"
#include "sim/game_life.h"
#include "sim/host_data.h"
#include "support/plugin_session.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr std::size_t large = std::size_t{1} << 20;

TEST(FailedAllocation, SkipsTheFrameAndTheGamesCallStillRuns) {
    testing_support::removeDataFolder();
    // A weapon name list of two megabytes: the layout file is read into memory of that size,
    // and the copy of the list into the settings is the allocation that fails.
    testing_support::writeDataFile("tarvel_III.ini",
                                   "WEAPON_NAMES = " + std::string(2 * large, 'w') + ",\n");
    sim::layOut(sim::Build::v100);
    ASSERT_EQ(gameVersion(), GameVersion::Build100);
    constructHudSprites();
    HudDrawEvent().addHandler(onHudDraw);
    sim::showEverything();
    sim::clearCalls();

    // The second allocation of a megabyte or more fails, as in a fragmented 32-bit process.
    sim::refuseAllocations({.atLeast = large, .succeedFirst = 1, .failures = 1});
    const uint32_t result = sim::fire(sim::Event::HudDraw);
    const bool failed = sim::refusedAllocations() == 1;
    sim::allowAllocations();
    ASSERT_TRUE(failed) << "no allocation failed";
    EXPECT_EQ(result, sim::calleeResult(sim::Event::HudDraw));
    EXPECT_EQ(sim::countCalls("callee"), 1u);
    EXPECT_EQ(sim::countCalls("printText"), 0u) << "the failed frame drew";

    sim::clearCalls();
    EXPECT_EQ(sim::fire(sim::Event::HudDraw), sim::calleeResult(sim::Event::HudDraw));
    EXPECT_GT(sim::countCalls("printText"), 0u) << "the next frame drew nothing";

    destroyHudSprites();
    testing_support::removeDataFolder();
}

} // namespace
