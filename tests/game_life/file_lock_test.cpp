// A settings file an editor holds locked while it saves keeps the settings in use until it can
// be read; only a missing file gives the defaults. A file stamped in the future is read once.
// What the plug-in last applied shows in its radar: the left edge follows INNER_RADAR_SCALE_A.
#include "sim/game_life.h"
#include "sim/host_radar.h"
#include "support/plugin_session.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

using testing_support::PluginSession;

namespace {

constexpr char layout[] = "tarvel_III.ini";

void writeLayout(int left) {
    testing_support::writeDataFile(layout,
                                   "INNER_RADAR_SCALE_A = " + std::to_string(left) + " 258\n");
}

// The radar's left edge in 1080 units (pixels at 1920 x 1080).
float radarLeft() {
    return sim::radarToScreen({-1.0f, 0.0f}).x;
}

class FileLock : public testing::Test {
  protected:
    void SetUp() override {
        testing_support::removeDataFolder();
        writeLayout(150);
    }
    void TearDown() override {
        sim::unlockAllFiles();
        plugin_.reset();
        testing_support::removeDataFolder();
    }

    void start() {
        plugin_ = std::make_unique<PluginSession>(sim::Build::v100);
        sim::fire(sim::Event::Start);
        sim::fire(sim::Event::RadarPatch);
        ASSERT_EQ(radarLeft(), 150.0f) << "the start reads the settings";
    }

    std::unique_ptr<PluginSession> plugin_;
};

TEST_F(FileLock, ALockedSaveKeepsTheSettingsInUseUntilItCanBeRead) {
    start();
    writeLayout(200);
    sim::lockFile(testing_support::dataFilePath(layout));
    for (int frame = 0; frame < 3; ++frame) {
        sim::fire(sim::Event::HudDraw);
        EXPECT_EQ(radarLeft(), 150.0f) << "frame " << frame;
    }
    // The log says what the HUD does meanwhile.
    std::ifstream logFile(testing_support::gameDirectory() + "tarvel_moravik\\tarvel_hud.log",
                          std::ios::binary);
    const std::string log((std::istreambuf_iterator<char>(logFile)), {});
    EXPECT_NE(log.find("tarvel_moravik\\tarvel_III.ini cannot be read now (a program holds it, "
                       "or it is being saved): the HUD keeps the settings in use"),
              std::string::npos)
        << log;
    sim::unlockFile(testing_support::dataFilePath(layout));
    sim::fire(sim::Event::HudDraw);
    EXPECT_EQ(radarLeft(), 200.0f) << "the file was not read again once it could be";
}

TEST_F(FileLock, OnlyAMissingFileGivesTheDefaults) {
    start();
    std::filesystem::remove(testing_support::dataFilePath(layout));
    sim::fire(sim::Event::HudDraw);
    EXPECT_NE(radarLeft(), 150.0f);
}

TEST_F(FileLock, AFileStampedInTheFutureIsNotReadOnEveryFrame) {
    const std::string path = testing_support::dataFilePath(layout);
    const long long tomorrow = sim::fileClockNow() + 24 * 3600 * sim::fileClockSeconds;
    sim::stampFile(path, tomorrow);
    start();
    // The same size and stamp, other bytes: only a read of the file would see them.
    writeLayout(250);
    sim::stampFile(path, tomorrow);
    sim::fire(sim::Event::HudDraw);
    sim::fire(sim::Event::HudDraw);
    EXPECT_EQ(radarLeft(), 150.0f) << "the file was read again, unchanged as far as it shows";
}

} // namespace
