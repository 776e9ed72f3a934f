// A hot reloader unloads the HUD and loads it again while the game runs, with no shutdown and no
// start in between: the unload gives back the dictionaries as a shutdown would, and a copy loaded
// into the running game draws with its textures from its first frame.
#include "sim/busy_game.h"
#include "sim/game_life.h"
#include "sim/host_data.h"
#include "sim/host_radar.h"
#include "support/plugin_session.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using testing_support::PluginSession;

namespace {

constexpr const char* dictionaryStems[] = {"tarvel_iii", "ring_iii", "radio_iii", "phone_iii"};

// The sprites one frame drew without a texture, and how many it drew.
struct DrawnSprites {
    size_t count = 0;
    std::vector<std::string> withoutTexture;
};

DrawnSprites drawOneFrame() {
    sim::clearCalls();
    sim::advanceBusyFrame();
    sim::fire(sim::Event::HudDraw);
    sim::fire(sim::Event::PhoneDraw);
    DrawnSprites drawn;
    for (const auto& call : sim::calls()) {
        if (call.routine != "drawSprite" && call.routine != "drawSpriteQuad") continue;
        ++drawn.count;
        if (call.name.empty()) drawn.withoutTexture.push_back(sim::describe(call));
    }
    return drawn;
}

TEST(HotReload, UnloadReleasesEveryDictionaryOnceWithOrWithoutTheGamesShutdown) {
    for (const bool shutdown : {true, false}) {
        testing_support::removeDataFolder();
        sim::layOut(sim::Build::v100);
        {
            PluginSession plugin(sim::Build::v100, false);
            sim::fire(sim::Event::Start);
            sim::fire(sim::Event::HudDraw);
            if (shutdown) sim::fire(sim::Event::Shutdown);
        }
        for (const char* stem : dictionaryStems) {
            EXPECT_EQ(sim::loadCount(stem), 1) << stem;
            EXPECT_EQ(sim::releaseCount(stem), 1)
                << stem << (shutdown ? " after the game's shutdown" : " without a shutdown");
        }
    }
}

TEST(HotReload, ACopyLoadedIntoARunningGameDrawsWithItsTexturesFromItsFirstFrame) {
    testing_support::removeDataFolder();
    sim::layOut(sim::Build::v100);
    sim::showEverything();
    {
        PluginSession plugin(sim::Build::v100, false);
        sim::fire(sim::Event::Start);
        drawOneFrame();
    }
    // The game has counted its frames meanwhile (advanceBusyFrame), as a running game does.
    PluginSession reloaded(sim::Build::v100, false);
    for (int frame = 0; frame < 3; ++frame) {
        const DrawnSprites drawn = drawOneFrame();
        EXPECT_GT(drawn.count, 0u);
        EXPECT_TRUE(drawn.withoutTexture.empty())
            << "frame " << frame << ": " << drawn.withoutTexture.front();
    }
    for (const char* stem : dictionaryStems)
        EXPECT_EQ(sim::loadCount(stem), 2) << stem << ": loaded once by each copy";
    reloaded.unload();
    for (const char* stem : dictionaryStems)
        EXPECT_EQ(sim::releaseCount(stem), 2) << stem;
}

// The copy before it had the radar set up; this one takes it at its first frame, whether a saved
// game is loaded (a start) before that frame or after it.
TEST(HotReload, ACopyLoadedIntoARunningGameTakesTheRadarAndLoadsItsDictionariesOnce) {
    const auto roundRadarRan = [] {
        sim::clearCalls();
        sim::radarToScreen({0, 0});
        return sim::countCalls("gameRadarToScreen") != 0;
    };
    for (const bool startFirst : {false, true}) {
        SCOPED_TRACE(startFirst ? "a saved game loaded before the first frame" : "frame first");
        testing_support::removeDataFolder();
        sim::layOut(sim::Build::v100);
        {
            PluginSession plugin(sim::Build::v100, false);
            sim::fire(sim::Event::Start);
            sim::fire(sim::Event::RadarPatch);
            drawOneFrame();
        }
        ASSERT_TRUE(roundRadarRan());
        PluginSession reloaded(sim::Build::v100, false);
        if (startFirst) sim::loadSavedGame(1'000);
        drawOneFrame();
        EXPECT_FALSE(roundRadarRan()) << "at the first frame";
        for (const char* stem : dictionaryStems)
            EXPECT_EQ(sim::loadCount(stem), 2) << stem << ": loaded once by each copy";
        sim::loadSavedGame(2'000);
        drawOneFrame();
        EXPECT_FALSE(roundRadarRan()) << "after a saved game loaded";
    }
}

} // namespace
