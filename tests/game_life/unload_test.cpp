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
#include <set>
#include <sstream>
#include <string>
#include <utility>
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

// Every place in the game's code the plug-in writes: the HUD code, the event call sites and the
// radar routines.
std::vector<Bytes> siteBytes() {
    std::vector<Stretch> sites(std::begin(hudCode), std::end(hudCode));
    for (sim::Event event : sim::allEvents)
        sites.push_back({sim::siteOf(event, sim::Build::v100), 6});
    for (uint32_t routine :
         {sim::radarToScreenRoutine, sim::radarLimitRoutine, sim::radarMaskFansRoutine})
        sites.push_back({routine, 5});
    std::vector<Bytes> held;
    for (const auto& site : sites)
        held.push_back(sim::bytes(site.address, site.size));
    return held;
}

// Texts and sprites drawn in a frame with everything on screen.
size_t drawnInAFrame() {
    sim::clearCalls();
    sim::advanceBusyFrame();
    sim::fire(sim::Event::HudDraw);
    sim::fire(sim::Event::PhoneDraw);
    return sim::countCalls("printText") + sim::countCalls("drawSprite");
}

// A frame drew the HUD (its money among the texts) and drew it once: no text printed twice at one
// place, as two copies drawing would.
bool hudDrawnOnce() {
    drawnInAFrame();
    std::set<std::pair<std::u16string, std::vector<double>>> printed;
    bool money = false;
    for (const auto& call : sim::callsTo("printText")) {
        money = money || call.text.starts_with(u"$");
        if (!printed.insert({call.text, call.numbers}).second) return false;
    }
    return money;
}

void startTheGame() {
    sim::fire(sim::Event::Start);
    sim::fire(sim::Event::RadarPatch);
    sim::showEverything();
}

std::string logText() {
    std::ifstream file(testing_support::dataFilePath("tarvel_hud.log"), std::ios::binary);
    std::ostringstream log;
    log << file.rdbuf();
    return log.str();
}

// A copy of the plug-in under another name, as a second install or a hot reloader has it.
std::string copyOfThePlugin(const std::string& relativeName) {
    namespace fs = std::filesystem;
    const std::string folder = testing_support::gameDirectory();
    const std::string copy = folder + relativeName;
    fs::create_directories(fs::path(copy).parent_path());
    EXPECT_TRUE(CopyFileA((folder + "tarvel_hud.dll").c_str(), copy.c_str(), FALSE));
    return copy;
}

// A player who installed the plug-in twice: tarvel_hud.dll in the game folder and an .asi in
// scripts\, loaded in either order and unloaded in either order.
TEST(TwoCopiesLoaded, OnlyOneWorksTheGameAndEitherGoesFirstLeavingTheGameAsItWas) {
    testing_support::removeDataFolder();
    const std::string dll = testing_support::gameDirectory() + "tarvel_hud.dll";
    const std::string asi = copyOfThePlugin("scripts\\tarvel_hud.asi");
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
        const std::string log = logText();
        EXPECT_THAT(log, testing::StartsWith("tarvel_moravik HUD "));
        const std::string secondCopysLine = "loaded a second time, from " + (dllFirst ? asi : dll) +
                                            ", while the copy loaded from " +
                                            (dllFirst ? dll : asi) + " runs";
        EXPECT_THAT(log, testing::HasSubstr(secondCopysLine));
        EXPECT_THAT(log, testing::HasSubstr("call site HUD draw at"));

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
    std::filesystem::remove(asi);
}

// A hot reloader that loads the new copy before it frees the old: the new copy waits, touching
// nothing, and when the old one goes it takes the game over, drawing the HUD once a frame.
TEST(TwoCopiesLoaded, TheCopyThatLetsGoHandsTheGameToTheOneWaiting) {
    testing_support::removeDataFolder();
    const std::string dll = testing_support::gameDirectory() + "tarvel_hud.dll";
    const std::string reloaded = copyOfThePlugin("reloaded\\tarvel_hud.asi");
    sim::layOut(sim::Build::v100);
    const std::vector<Bytes> before = siteBytes();
    HMODULE old = LoadLibraryA(dll.c_str());
    ASSERT_TRUE(old);
    startTheGame();
    EXPECT_TRUE(hudDrawnOnce());
    const std::vector<Bytes> withTheOld = siteBytes();

    // A copy that comes and goes while the old one works leaves the game's objects alone.
    sim::clearCalls();
    FreeLibrary(LoadLibraryA(reloaded.c_str()));
    EXPECT_EQ(sim::countCalls("spriteConstruct") + sim::countCalls("spriteDestroy"), 0u);
    EXPECT_EQ(siteBytes(), withTheOld);
    EXPECT_TRUE(hudDrawnOnce());

    HMODULE fresh = LoadLibraryA(reloaded.c_str());
    ASSERT_TRUE(fresh);
    FreeLibrary(old);
    // Back at the first frame, or the second at the latest.
    hudDrawnOnce();
    for (int frame = 1; frame < 4; ++frame)
        EXPECT_TRUE(hudDrawnOnce()) << "frame " << frame;
    EXPECT_THAT(logText(),
                testing::HasSubstr(", loaded from " + reloaded +
                                   ", takes over the game from the copy loaded from " + dll +
                                   ", which was unloaded\r\ngame build 100 recognised"));
    FreeLibrary(fresh);
    drawnInAFrame();
    EXPECT_EQ(siteBytes(), before) << "every site as the game had it";
    EXPECT_EQ(sim::loadCount("tarvel_iii"), 2);
    EXPECT_EQ(sim::releaseCount("tarvel_iii"), 2);
    std::filesystem::remove(reloaded);
}

} // namespace
