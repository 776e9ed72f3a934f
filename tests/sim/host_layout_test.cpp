#include "sim/host_data.h"
#include "sim/sim.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace {

TEST(HostLayout, EverySiteOfEveryBuildCallsItsOwnCalleeAndReturns) {
    sim::layOut(sim::Build::v110);
    for (sim::Build build : sim::knownBuilds) {
        for (sim::Event event : sim::allEvents) {
            const uint32_t site = sim::siteOf(event, build);
            ASSERT_EQ(sim::bytes(site, 1)[0], 0xE8);
            EXPECT_EQ(sim::bytes(site + 5, 1)[0], 0xC3);
            sim::clearCalls();
            sim::callAt(site);
            ASSERT_EQ(sim::calls().size(), 1u);
            EXPECT_EQ(sim::calls()[0].routine, "callee");
            EXPECT_EQ(sim::calls()[0].object, site);
        }
    }
}

TEST(HostLayout, ProbeBytesStandOnlyAtTheRunningBuildsProbe) {
    const uint32_t probes[] = {0x5C1E70, 0x5C2130, 0x5C6FD0};
    const std::vector<uint8_t> signature = {0x55, 0x89, 0xE5, 0x53};
    for (int b = 0; b < 3; ++b) {
        sim::layOut(sim::knownBuilds[b]);
        for (int p = 0; p < 3; ++p)
            EXPECT_EQ(sim::bytes(probes[p], 4) == signature, p == b) << "build " << b;
    }
    sim::layOut(sim::Build::unknown);
    for (uint32_t probe : probes)
        EXPECT_NE(sim::bytes(probe, 4), signature);
}

TEST(HostLayout, FiringReturnsTheCalleesValueWhichDiffersPerSite) {
    sim::layOut(sim::Build::v100);
    const uint32_t start = sim::fire(sim::Event::Start);
    EXPECT_EQ(start, sim::calleeResult(sim::Event::Start));
    EXPECT_NE(start, sim::calleeResult(sim::Event::HudDraw));
}

TEST(HostLayout, KeysSetOnThisThreadAreSeenByGetKeyState) {
    sim::layOut(sim::Build::v100);
    sim::setKey(0x74, true);
    EXPECT_TRUE(GetKeyState(0x74) & 0x8000);
    sim::setKey(0x74, false);
    EXPECT_FALSE(GetKeyState(0x74) & 0x8000);
}

} // namespace
