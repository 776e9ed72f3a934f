// Loading the real plug-in takes over exactly the running build's call sites, runs the game's
// own call through them unchanged, and puts every site back at unload.
#include "sim/host_data.h"
#include "sim/host_radar.h"
#include "support/plugin_session.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using testing_support::PluginSession;

namespace {

constexpr sim::Event loadTimeEvents[] = {sim::Event::Start, sim::Event::HudDraw,
                                         sim::Event::PhoneDraw, sim::Event::RadarPatch,
                                         sim::Event::Shutdown};

uint32_t callDestination(uint32_t site) {
    int32_t displacement;
    std::memcpy(&displacement, reinterpret_cast<const void*>(site + 1), 4);
    return site + 5 + static_cast<uint32_t>(displacement);
}

struct SiteBytes {
    uint32_t site;
    std::vector<uint8_t> bytes;
};

std::vector<SiteBytes> allSites() {
    std::vector<SiteBytes> sites;
    for (sim::Build build : sim::knownBuilds)
        for (sim::Event event : sim::allEvents) {
            const uint32_t site = sim::siteOf(event, build);
            sites.push_back({site, sim::bytes(site, 6)});
        }
    return sites;
}

bool isLoadTimeSite(uint32_t site, sim::Build build) {
    for (sim::Event event : loadTimeEvents)
        if (sim::siteOf(event, build) == site) return true;
    return false;
}

class EachBuild : public testing::TestWithParam<sim::Build> {
  protected:
    void SetUp() override { testing_support::removeDataFolder(); }
};

TEST_P(EachBuild, LoadingRedirectsExactlyThatBuildsFiveSitesIntoThePlugin) {
    const sim::Build build = GetParam();
    sim::layOut(build);
    const auto before = allSites();
    PluginSession plugin(build, false);

    for (const auto& [site, bytes] : before) {
        const auto now = sim::bytes(site, 6);
        if (isLoadTimeSite(site, build)) {
            EXPECT_EQ(now[0], 0xE8) << std::hex << site;
            EXPECT_TRUE(plugin.inPlugin(callDestination(site))) << std::hex << site;
            EXPECT_EQ(now[5], 0xC3) << "only the five bytes of the CALL change";
        } else {
            EXPECT_EQ(now, bytes) << "site " << std::hex << site << " must stay untouched";
        }
    }
}

TEST_P(EachBuild, ARedirectedSiteRunsTheGamesCallOnceAndReturnsItsValue) {
    const sim::Build build = GetParam();
    PluginSession plugin(build);
    for (sim::Event event : {sim::Event::HudDraw, sim::Event::PhoneDraw, sim::Event::RadarPatch}) {
        sim::clearCalls();
        EXPECT_EQ(sim::fire(event), sim::calleeResult(event));
        EXPECT_EQ(sim::countCalls("callee"), 1u);
        EXPECT_EQ(sim::callsTo("callee").at(0).object, sim::siteOf(event));
    }
}

TEST_P(EachBuild, UnloadingPutsEveryRedirectedSiteBack) {
    const sim::Build build = GetParam();
    testing_support::writeDataFile("tarvel_III.ini", "RELOAD_SETTINGS = yes\n");
    sim::layOut(build);
    const auto before = allSites();
    {
        PluginSession plugin(build, false);
        sim::fire(sim::Event::Start);
        EXPECT_EQ(sim::bytes(sim::siteOf(sim::Event::ReloadKey), 1)[0], 0xE8);
        EXPECT_TRUE(plugin.inPlugin(callDestination(sim::siteOf(sim::Event::ReloadKey))));
    }
    for (const auto& [site, bytes] : before)
        EXPECT_EQ(sim::bytes(site, 6), bytes) << std::hex << site;
    testing_support::removeDataFolder();
}

INSTANTIATE_TEST_SUITE_P(Builds, EachBuild,
                         testing::Values(sim::Build::v100, sim::Build::v110, sim::Build::v120));

// Unload puts back the radar routines' starts and every call site. (A site that something else
// has rewritten since keeps what that wrote, and the plug-in stays in memory for it: see
// tests/support/hooked_after_hud.cpp.)
TEST(Unload, LeavesTheGamesCodeAsItFoundIt) {
    testing_support::removeDataFolder();
    sim::layOut(sim::Build::v100);
    const uint32_t routines[] = {sim::radarMaskFansRoutine, sim::radarToScreenRoutine,
                                 sim::radarLimitRoutine};
    std::vector<std::vector<uint8_t>> routinesBefore;
    for (uint32_t routine : routines)
        routinesBefore.push_back(sim::bytes(routine, 8));
    const auto sitesBefore = allSites();
    {
        PluginSession plugin(sim::Build::v100, false);
        sim::fire(sim::Event::Start);
        sim::fire(sim::Event::RadarPatch);
        sim::fire(sim::Event::RadarPatch);
        for (uint32_t routine : routines)
            ASSERT_EQ(sim::bytes(routine, 1)[0], 0xE9) << std::hex << routine;
    }
    for (size_t i = 0; i < std::size(routines); ++i)
        EXPECT_EQ(sim::bytes(routines[i], 8), routinesBefore[i]) << std::hex << routines[i];
    for (const auto& [site, bytes] : sitesBefore)
        EXPECT_EQ(sim::bytes(site, 6), bytes) << std::hex << site;
}

TEST(UnknownBuild, LoadingTouchesNothingAndCallsNothing) {
    sim::layOut(sim::Build::unknown);
    const auto before = sim::snapshot();
    {
        PluginSession plugin(sim::Build::unknown, false);
        EXPECT_TRUE(sim::snapshot() == before) << "game memory changed at load";
        for (sim::Build build : sim::knownBuilds)
            sim::callAt(sim::siteOf(sim::Event::HudDraw, build));
        EXPECT_EQ(sim::calls().size(), 3u) << "only the game's own callees ran";
    }
    EXPECT_TRUE(sim::snapshot() == before) << "game memory changed at unload";
}

TEST(ReloadSite, IsTakenOverOnlyWhenTheLayoutSetsAReloadKey) {
    struct Case {
        const char* layout;
        bool redirected;
    };
    const Case cases[] = {{"RELOAD_SETTINGS = 116\n", true},
                          {"RELOAD_SETTINGS = yes\n", true},
                          {"RELOAD_SETTINGS = 0\n", false},
                          {"RELOAD_SETTINGS = no\n", false},
                          {"MONEY_POS_TOP = 30\n", false}};
    for (const auto& c : cases) {
        testing_support::writeDataFile("tarvel_III.ini", c.layout);
        PluginSession plugin(sim::Build::v100);
        const uint32_t site = sim::siteOf(sim::Event::ReloadKey);
        const auto before = sim::bytes(site, 5);
        sim::fire(sim::Event::Start);
        sim::fire(sim::Event::Start);
        EXPECT_EQ(sim::bytes(site, 5) != before, c.redirected) << c.layout;
        EXPECT_EQ(sim::fire(sim::Event::ReloadKey), sim::calleeResult(sim::Event::ReloadKey));
    }
    testing_support::removeDataFolder();
}

} // namespace
