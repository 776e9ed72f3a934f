// The reload key re-reads the layout file between frames, as the layout file asks for it.
// What the plug-in last read shows in its radar: the radar's left edge follows
// INNER_RADAR_SCALE_A on every call.
#include "sim/host_data.h"
#include "sim/host_radar.h"
#include "support/plugin_session.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using testing_support::PluginSession;
using testing_support::writeDataFile;

namespace {

constexpr int f5 = 0x74;

// The layout file with a reload setting and a radar whose left edge is at `left` 1080 units.
void writeLayout(const std::string& reload, int left) {
    writeDataFile("tarvel_III.ini", "RELOAD_SETTINGS = " + reload + "\nINNER_RADAR_SCALE_A = " +
                                        std::to_string(left) + " 258\n");
}

// The radar's left edge in pixels at 1920 x 1080, where a 1080 unit is a pixel.
float radarLeft() {
    return sim::radarToScreen({-1.0f, 0.0f}).x;
}

class ReloadKey : public testing::Test {
  protected:
    void SetUp() override { testing_support::removeDataFolder(); }
    void TearDown() override { testing_support::removeDataFolder(); }

    // Loads the plug-in, starts the game (which reads the settings) and sets the radar up.
    void start(const std::string& reload) {
        writeLayout(reload, 100);
        plugin_ = std::make_unique<PluginSession>(sim::Build::v100);
        sim::fire(sim::Event::Start);
        sim::fire(sim::Event::RadarPatch);
        ASSERT_EQ(radarLeft(), 100.0f) << "the start reads the settings";
    }

    std::unique_ptr<PluginSession> plugin_;
};

TEST_F(ReloadKey, AKeyCodeReloadsOnlyWhileThatKeyIsDown) {
    start("116");
    writeLayout("116", 200);
    sim::fire(sim::Event::ReloadKey);
    EXPECT_EQ(radarLeft(), 100.0f) << "F5 is up";
    sim::setKey(f5, true);
    sim::fire(sim::Event::ReloadKey);
    EXPECT_EQ(radarLeft(), 200.0f) << "F5 is down";
    sim::setKey(f5, false);
    writeLayout("116", 300);
    sim::fire(sim::Event::ReloadKey);
    EXPECT_EQ(radarLeft(), 200.0f);
}

TEST_F(ReloadKey, YesReloadsAtEveryPoll) {
    start("yes");
    writeLayout("yes", 200);
    sim::fire(sim::Event::ReloadKey);
    EXPECT_EQ(radarLeft(), 200.0f);
    writeLayout("yes", 250);
    sim::fire(sim::Event::ReloadKey);
    EXPECT_EQ(radarLeft(), 250.0f);
}

TEST_F(ReloadKey, WithoutAReloadSettingTheFileIsStillReadEveryFrame) {
    start("0");
    writeLayout("0", 200);
    sim::setKey(f5, true);
    sim::fire(sim::Event::ReloadKey);
    EXPECT_EQ(radarLeft(), 100.0f) << "no reload handler";
    sim::setKey(f5, false);
    sim::fire(sim::Event::HudDraw);
    EXPECT_EQ(radarLeft(), 200.0f) << "the frame reads the file";
}

} // namespace
