// Memory running out while the settings are read or applied: the settings in use stay as they
// are, and the file is read again on the next frame. The plug-in's library is built into this
// program, so the allocation failures the simulated game injects reach it.
#include "config/hud_settings.h"
#include "config/settings_files.h"
#include "host/settings_file_system.h"
#include "sim/game_life.h"
#include "support/plugin_session.h"

#include <gtest/gtest.h>

#include <new>
#include <string>

namespace {

// A frame's look at the settings files; what fails in it does not reach the game.
void settingsOfAFrame() {
    try {
        refreshSettings(gameSettingsFiles());
    } catch (const std::bad_alloc&) {
    }
}

class MemoryRunningOut : public testing::Test {
  protected:
    void SetUp() override {
        testing_support::removeDataFolder();
        testing_support::writeDataFile("tarvel_III.ini",
                                       "MONEY_POS_TOP = 40\nWEAPON_NAMES = Kestrel,\n");
        settingsOfAFrame();
        inUse_ = hudSettings;
        ASSERT_EQ(inUse_.WEAPON_NAMES, "Kestrel,");
        // Long written, so nothing but a failure makes the file read again.
        const std::string names(4000, 'n');
        names_ = names + ",";
        testing_support::writeDataFile("tarvel_III.ini",
                                       "MONEY_POS_TOP = 61\nWEAPON_NAMES = " + names_ + "\n");
        sim::stampFile(testing_support::dataFilePath("tarvel_III.ini"),
                       sim::fileClockNow() - 3600 * sim::fileClockSeconds);
    }
    void TearDown() override {
        sim::allowAllocations();
        testing_support::removeDataFolder();
    }

    // A frame with these allocations failing leaves the settings in use as they were; the
    // next frame, with memory enough, applies the whole file.
    void frameFailingThenOneWithMemory(const sim::AllocationFailures& failures) {
        sim::refuseAllocations(failures);
        settingsOfAFrame();
        sim::allowAllocations();
        ASSERT_GT(sim::refusedAllocations(), 0) << "nothing failed";
        EXPECT_EQ(hudSettings.MONEY_POS_TOP, inUse_.MONEY_POS_TOP) << "half a file was applied";
        EXPECT_EQ(hudSettings.WEAPON_NAMES, inUse_.WEAPON_NAMES) << "the defaults came in";

        settingsOfAFrame();
        EXPECT_EQ(hudSettings.MONEY_POS_TOP, 61);
        EXPECT_EQ(hudSettings.WEAPON_NAMES, names_) << "the file was not read again";
    }

    HudSettings inUse_;
    std::string names_;
};

TEST_F(MemoryRunningOut, AFailureWhileApplyingTheFileReadsItAgainNextFrame) {
    // The file's bytes are read; copying the long name list into the settings fails.
    frameFailingThenOneWithMemory({.atLeast = 3000, .succeedFirst = 1});
}

TEST_F(MemoryRunningOut, EveryRequestFailingKeepsTheSettingsInUse) {
    frameFailingThenOneWithMemory({});
}

} // namespace
