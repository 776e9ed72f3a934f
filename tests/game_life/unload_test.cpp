// Unload leaves the game's code as the plug-in found it: the bytes each frame writes to switch
// off the game's own HUD go back too, except where something else has rewritten them since.
#include "sim/host_radar.h"
#include "support/plugin_session.h"

#include <gtest/gtest.h>

#include <cstring>
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

} // namespace
