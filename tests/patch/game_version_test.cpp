#include "host/game_version.h"
#include "sim/sim.h"
#include "support/plugin_session.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <windows.h>

namespace {

constexpr uint32_t probe100 = 0x5C1E70;
constexpr uint32_t probe110 = 0x5C2130;
constexpr uint32_t probe120 = 0x5C6FD0;

void writeSignature(uint32_t probe) {
    const uint8_t signature[] = {0x55, 0x89, 0xE5, 0x53};
    std::memcpy(&sim::at<uint8_t>(probe), signature, sizeof signature);
}

// The cached build belongs to the process, so what depends on the first detection runs in a
// fresh copy of this program; a failed check ends it with a non-zero code.
#define CHECK_IN_CHILD(condition)                                                                  \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "failed: %s\n", #condition);                                      \
            std::exit(1);                                                                          \
        }                                                                                          \
    } while (0)
#define EXPECT_IN_FRESH_PROCESS(body)                                                              \
    EXPECT_EXIT({ body std::exit(0); }, testing::ExitedWithCode(0), "")

TEST(BuildDetection, EachBuildsProbeBytesNameThatBuild) {
    const struct {
        sim::Build build;
        GameVersion version;
    } cases[] = {{sim::Build::v100, GameVersion::Build100},
                 {sim::Build::v110, GameVersion::Build110},
                 {sim::Build::v120, GameVersion::Build120},
                 {sim::Build::unknown, GameVersion::Unknown}};
    for (const auto& c : cases) {
        sim::layOut(c.build);
        EXPECT_EQ(detectGameVersion(), c.version) << static_cast<int>(c.build);
    }
}

TEST(BuildDetection, TheFirstMatchingProbeInOrderWins) {
    sim::layOut(sim::Build::unknown);
    writeSignature(probe120);
    writeSignature(probe110);
    EXPECT_EQ(detectGameVersion(), GameVersion::Build110);
    writeSignature(probe100);
    EXPECT_EQ(detectGameVersion(), GameVersion::Build100);
}

TEST(BuildDetection, AlmostTheSignatureIsNoBuild) {
    sim::layOut(sim::Build::unknown);
    writeSignature(probe100);
    sim::at<uint8_t>(probe100 + 3) = 0x54;
    EXPECT_EQ(detectGameVersion(), GameVersion::Unknown);
}

TEST(BuildDetectionDeathTest, TheBuildIsDetectedOnceAndKeptWhenMemoryChangesLater) {
    EXPECT_IN_FRESH_PROCESS({
        sim::layOut(sim::Build::v110);
        CHECK_IN_CHILD(gameVersion() == GameVersion::Build110);
        sim::layOut(sim::Build::v120);
        CHECK_IN_CHILD(detectGameVersion() == GameVersion::Build120);
        CHECK_IN_CHILD(gameVersion() == GameVersion::Build110);
    });
}

TEST(BuildDetectionDeathTest, AddressByVersionPicksTheRunningBuildsColumn) {
    const struct {
        sim::Build build;
        uint32_t expected;
    } cases[] = {{sim::Build::v100, 0x885B48},
                 {sim::Build::v110, 0x885AF8},
                 {sim::Build::v120, 0x895C38},
                 {sim::Build::unknown, 0}};
    for (const auto& c : cases) {
        EXPECT_IN_FRESH_PROCESS({
            sim::layOut(c.build);
            CHECK_IN_CHILD(addressByVersion(0x885B48, 0x885AF8, 0x895C38) == c.expected);
            const GameAddress<uint32_t> clock(0x885B48, 0x885AF8, 0x895C38);
            CHECK_IN_CHILD(reinterpret_cast<uint32_t>(clock.pointer) == c.expected);
        });
    }
}

TEST(BuildDetection, AtTheNominalBaseAdjustingMovesNothing) {
    ASSERT_EQ(reinterpret_cast<uint32_t>(GetModuleHandleA(nullptr)), 0x400000u);
    EXPECT_EQ(moduleBaseDelta(), 0u);
    for (uint32_t address : {0x401000u, probe100, 0x48E420u, 0x95CD89u})
        EXPECT_EQ(adjustAddress(address), address);
}

// A program that is not the game, whose image ends below the probes: the plug-in loads into it
// without touching the probe addresses (see tests/support/other_program.cpp).
TEST(BuildDetection, AnotherProgramLoadsThePluginWithoutReadingPastItsImage) {
    EXPECT_EQ(testing_support::runBesideThisProgram("other_program.exe"), 0u);
}

} // namespace
