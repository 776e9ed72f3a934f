// Unload leaves the game's code as the plug-in found it: the bytes each frame writes to switch
// off the game's own HUD go back too, except where something else has rewritten them since.
#include "sim/busy_game.h"
#include "sim/host_data.h"
#include "sim/host_radar.h"
#include "support/plugin_session.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

using testing_support::PluginSession;

namespace {

using Bytes = std::vector<uint8_t>;

struct Stretch {
    uint32_t address;
    size_t size;
};
constexpr Stretch hudCode[] = {
    {sim::hudRoutineA, 4}, {sim::hudRoutineB, 4}, {sim::hudCodeByteA, 1}, {sim::hudCodeByteB, 1}};

TEST(UnloadAfterFrames, PutsTheGamesHudCodeBack) {
    testing_support::removeDataFolder();
    sim::layOut(sim::Build::v100);
    std::vector<Bytes> before;
    for (const auto& stretch : hudCode)
        before.push_back(sim::bytes(stretch.address, stretch.size));
    {
        PluginSession plugin(sim::Build::v100, false);
        sim::fire(sim::Event::Start);
        sim::fire(sim::Event::HudDraw);
        sim::fire(sim::Event::HudDraw);
        ASSERT_EQ(sim::bytes(sim::hudRoutineA, 1), Bytes{0xC3});
    }
    for (size_t i = 0; i < std::size(hudCode); ++i)
        EXPECT_EQ(sim::bytes(hudCode[i].address, hudCode[i].size), before[i])
            << std::hex << hudCode[i].address;
}

TEST(UnloadAfterFrames, LeavesHudCodeThatSomethingElseRewroteSince) {
    testing_support::removeDataFolder();
    sim::layOut(sim::Build::v100);
    const Bytes othersRoutineB = {0x55, 0x8B, 0xEC, 0x90};
    const Bytes gamesRoutineA = sim::bytes(sim::hudRoutineA, 4);
    {
        PluginSession plugin(sim::Build::v100, false);
        sim::fire(sim::Event::HudDraw);
        std::memcpy(&sim::at<uint8_t>(sim::hudRoutineB), othersRoutineB.data(), 4);
    }
    EXPECT_EQ(sim::bytes(sim::hudRoutineB, 4), othersRoutineB);
    EXPECT_EQ(sim::bytes(sim::hudRoutineA, 4), gamesRoutineA);
}

// A player who installed the plug-in twice: tarvel_hud.dll in the game folder and an .asi in
// scripts\, loaded in either order and unloaded in either order.
TEST(TwoCopiesLoaded, OnlyOneWorksTheGameAndEitherGoesFirstLeavingTheGameAsItWas) {
    namespace fs = std::filesystem;
    testing_support::removeDataFolder();
    const std::string folder = testing_support::gameDirectory();
    const std::string dll = folder + "tarvel_hud.dll";
    const std::string asi = folder + "scripts\\tarvel_hud.asi";
    fs::create_directories(folder + "scripts");
    ASSERT_TRUE(CopyFileA(dll.c_str(), asi.c_str(), FALSE));

    std::vector<Stretch> sites(std::begin(hudCode), std::end(hudCode));
    for (sim::Event event : sim::allEvents)
        sites.push_back({sim::siteOf(event, sim::Build::v100), 6});
    for (uint32_t routine :
         {sim::radarToScreenRoutine, sim::radarLimitRoutine, sim::radarMaskFansRoutine})
        sites.push_back({routine, 5});

    const auto siteBytes = [&] {
        std::vector<Bytes> held;
        for (const auto& site : sites)
            held.push_back(sim::bytes(site.address, site.size));
        return held;
    };
    // Texts and sprites drawn in a frame with everything on screen.
    const auto drawnInAFrame = [] {
        sim::clearCalls();
        sim::advanceBusyFrame();
        sim::fire(sim::Event::HudDraw);
        sim::fire(sim::Event::PhoneDraw);
        return sim::countCalls("printText") + sim::countCalls("drawSprite");
    };
    const auto startTheGame = [] {
        sim::fire(sim::Event::Start);
        sim::fire(sim::Event::RadarPatch);
        sim::showEverything();
    };
    sim::layOut(sim::Build::v100);
    size_t oneCopyDraws = 0;
    {
        PluginSession alone(sim::Build::v100, false);
        startTheGame();
        oneCopyDraws = drawnInAFrame();
        sim::fire(sim::Event::Shutdown);
    }
    ASSERT_GT(oneCopyDraws, 0u);

    for (const bool dllFirst : {true, false}) {
        SCOPED_TRACE(dllFirst ? "the .dll loaded and unloaded first" : "the .asi first");
        sim::layOut(sim::Build::v100);
        const std::vector<Bytes> before = siteBytes();
        HMODULE first = LoadLibraryA((dllFirst ? dll : asi).c_str());
        const std::vector<Bytes> withTheFirst = siteBytes();
        HMODULE second = LoadLibraryA((dllFirst ? asi : dll).c_str());
        ASSERT_TRUE(first && second && first != second);
        EXPECT_EQ(siteBytes(), withTheFirst) << "the second copy writes nothing";

        startTheGame();
        EXPECT_EQ(drawnInAFrame(), oneCopyDraws) << "the HUD is drawn once per frame";
        EXPECT_EQ(sim::loadCount("tarvel_iii"), 1);
        std::ifstream file(folder + "tarvel_moravik\\tarvel_hud.log", std::ios::binary);
        std::ostringstream log;
        log << file.rdbuf();
        EXPECT_THAT(log.str(), testing::StartsWith("tarvel_moravik HUD "));
        const std::string secondCopysLine = "loaded a second time, from " + (dllFirst ? asi : dll) +
                                            ", while the copy loaded from " +
                                            (dllFirst ? dll : asi) + " runs";
        EXPECT_THAT(log.str(), testing::HasSubstr(secondCopysLine));
        EXPECT_THAT(log.str(), testing::HasSubstr("call site HUD draw at"));

        // Each unload in turn; the game plays on between them.
        FreeLibrary(first);
        drawnInAFrame();
        sim::fire(sim::Event::Shutdown);
        sim::fire(sim::Event::Start);
        drawnInAFrame();
        FreeLibrary(second);
        drawnInAFrame();
        EXPECT_EQ(siteBytes(), before) << "every site as the game had it";
    }
    fs::remove(asi);
}

} // namespace
