// The message drawers inside the plug-in's frame: their order, and the mission title's offset
// from the layout file while the game shows mission timers.
#include "message_test_support.h"
#include "support/plugin_session.h"

namespace {

using namespace messages_test;
using testing_support::PluginSession;

class MessageFrameTest : public testing::Test {
  protected:
    void SetUp() override { testing_support::removeDataFolder(); }
    void TearDown() override { testing_support::removeDataFolder(); }

    // Two frames: the big messages reset on the first and draw from the second.
    static void drawTwoFrames() {
        sim::fire(sim::Event::HudDraw);
        sim::clearCalls();
        sim::fire(sim::Event::HudDraw);
    }
};

TEST_F(MessageFrameTest, SubtitlesThenBigMessagesThenHelpBoxAndOddJobsThenTitle) {
    PluginSession session;
    sim::setHudShown(false); // the second group only
    sim::setSubtitle("SUB");
    sim::setMessage(0, "CENTRE");
    sim::setHelpText("HELP");
    sim::setMessage(3, "ODD");
    sim::setMessage(1, "TITLE");
    drawTwoFrames();
    std::vector<std::string> order;
    for (const auto& text : printed())
        order.push_back(text.text);
    EXPECT_EQ(order, (std::vector<std::string>{"SUB", "CENTRE", "CENTRE", "HELP", "ODD", "ODD",
                                               "TITLE", "TITLE"}));
}

TEST_F(MessageFrameTest, TheTitleMovesUpByTheTruncatedGapWhileMissionTimersShow) {
    testing_support::writeDataFile("tarvel_III.ini", "ZONE_VEHICLE_MISSION_TRANSITION_GAP = 15.9\n"
                                                     "MISSION_BOTTOM = 40\n");
    PluginSession session;
    sim::setHudShown(false);
    sim::setMessage(1, "TITLE");
    drawTwoFrames();
    ASSERT_EQ(printedText("TITLE").size(), 2u);
    EXPECT_FLOAT_EQ(printedText("TITLE")[1].y, 1080.0f - 40 * 1080.0f / 448.0f);

    sim::setMissionTimersShown(true);
    sim::clearCalls();
    sim::fire(sim::Event::HudDraw);
    const auto title = printedText("TITLE");
    ASSERT_EQ(title.size(), 2u);
    const float bottom = 1080.0f - (15 + 40) * 1080.0f / 448.0f;
    EXPECT_FLOAT_EQ(title[0].y, bottom + 2 * 1080.0f / 448.0f);
    EXPECT_FLOAT_EQ(title[1].y, bottom);
}

} // namespace
