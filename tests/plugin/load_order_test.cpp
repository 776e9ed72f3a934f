// What the plug-in asks of the game at load, start, shutdown and unload, in order.
#include "sim/host_data.h"
#include "support/plugin_session.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using testing_support::PluginSession;

namespace {

std::vector<uint32_t> objectsOf(const char* routine) {
    std::vector<uint32_t> objects;
    for (const auto& call : sim::callsTo(routine))
        objects.push_back(call.object);
    return objects;
}

std::vector<std::string> routineSequence() {
    std::vector<std::string> names;
    for (const auto& call : sim::calls())
        names.push_back(call.routine);
    return names;
}

TEST(Sprites, EachOfTheFortyThreeIsConstructedAtLoadAndDestroyedInReverseAtUnload) {
    testing_support::removeDataFolder();
    PluginSession plugin(sim::Build::v100);
    const auto constructed = objectsOf("spriteConstruct");
    ASSERT_EQ(constructed.size(), 43u);
    // Ring set (22), radio set (12), main set (5), radio wheel (1), weapon wheel (2), phone (1):
    // consecutive sprites within each set, four bytes apart.
    for (size_t i = 1; i < 22; ++i)
        EXPECT_EQ(constructed[i], constructed[i - 1] + 4);
    sim::clearCalls();
    plugin.unload();
    auto destroyed = objectsOf("spriteDestroy");
    ASSERT_EQ(destroyed.size(), 43u);
    std::reverse(destroyed.begin(), destroyed.end());
    EXPECT_EQ(destroyed, constructed);
}

TEST(Sprites, NoOtherBuildCallsTheGamesSpriteRoutines) {
    for (sim::Build build : {sim::Build::v110, sim::Build::v120, sim::Build::unknown}) {
        PluginSession plugin(build);
        sim::fire(sim::Event::Start);
        sim::fire(sim::Event::HudDraw);
        sim::fire(sim::Event::Shutdown);
        plugin.unload();
        EXPECT_EQ(sim::countCalls("spriteConstruct"), 0u);
        EXPECT_EQ(sim::countCalls("spriteDestroy"), 0u);
        EXPECT_EQ(sim::countCalls("loadDictionary"), 0u);
    }
}

TEST(Handlers, StartRunsAfterTheGamesCallAndShutdownBeforeIt) {
    testing_support::removeDataFolder();
    PluginSession plugin(sim::Build::v100);
    sim::clearCalls();
    sim::fire(sim::Event::Start);
    auto sequence = routineSequence();
    ASSERT_FALSE(sequence.empty());
    EXPECT_EQ(sequence.front(), "callee");
    EXPECT_EQ(sim::countCalls("loadDictionary"), 4u);

    sim::clearCalls();
    sim::fire(sim::Event::Shutdown);
    sequence = routineSequence();
    ASSERT_FALSE(sequence.empty());
    EXPECT_EQ(sequence.back(), "callee");
    EXPECT_EQ(sim::countCalls("releaseDictionary"), 4u);
}

TEST(Handlers, DictionariesComeFromTheDataFolderUnderTheGameDirectory) {
    PluginSession plugin(sim::Build::v100);
    sim::fire(sim::Event::Start);
    const auto loads = sim::callsTo("loadDictionary");
    ASSERT_EQ(loads.size(), 4u);
    const std::string dir = testing_support::gameDirectory();
    EXPECT_EQ(loads[0].name, dir + "tarvel_moravik\\tarvel_iii.txd");
    EXPECT_EQ(loads[1].name, dir + "tarvel_moravik\\ring_iii.txd");
    EXPECT_EQ(loads[2].name, dir + "tarvel_moravik\\radio_iii.txd");
    EXPECT_EQ(loads[3].name, dir + "tarvel_moravik\\phone_iii.txd");
}

} // namespace
