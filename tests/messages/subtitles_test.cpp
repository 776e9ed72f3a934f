// The subtitle line and its margins.
#include "hud/hud_drawers.h"
#include "message_test_support.h"

namespace {

using namespace messages_test;
using SubtitlesTest = MessagesTest;

// Where the subtitle was printed, with the centring width it was given.
struct Placed {
    float x = 0, width = 0;
};

Placed drawnSubtitle() {
    sim::clearCalls();
    drawSubtitles();
    const auto texts = printedText("SUBTITLE");
    const auto widths = sim::callsTo("setCentreWidth");
    if (texts.size() != 1 || widths.size() != 1) return {-1, -1};
    return {texts[0].x, static_cast<float>(widths[0].numbers[0])};
}

TEST_F(SubtitlesTest, UsesTheSettingsMarginsWhileTheHudShows) {
    hudSettings.SUBTITLE_OFFSET_L = 100.0f;
    hudSettings.SUBTITLE_OFFSET_R = 70.0f;
    sim::setSubtitle("SUBTITLE");
    // left = (100 + 8) * 2.25 = 243; width = 1920 - (70 + 8) * 2.25 - 243 = 1501.5;
    // x = 1501.5 / 2 + 243 - 2.25 = 991.5.
    const Placed placed = drawnSubtitle();
    EXPECT_FLOAT_EQ(placed.width, 1501.5f);
    EXPECT_FLOAT_EQ(placed.x, 991.5f);
}

TEST_F(SubtitlesTest, UsesMargins40And50WhileTheHudIsOff) {
    hudSettings.SUBTITLE_OFFSET_L = 100.0f;
    hudSettings.SUBTITLE_OFFSET_R = 70.0f;
    sim::setSubtitle("SUBTITLE");
    sim::setHudShown(false);
    // left = (40 + 8) * 2.25 = 108; width = 1920 - (50 + 8) * 2.25 - 108 = 1681.5;
    // x = 1681.5 / 2 + 108 - 2.25 = 946.5.
    Placed placed = drawnSubtitle();
    EXPECT_FLOAT_EQ(placed.width, 1681.5f);
    EXPECT_FLOAT_EQ(placed.x, 946.5f);
    // A menu counts as the HUD being off; the subtitles show over it only when the game says.
    sim::setHudShown(true);
    sim::setMenuActive(true);
    EXPECT_FLOAT_EQ(drawnSubtitle().x, -1.0f);
    sim::setSubtitlesWithMenu(true);
    placed = drawnSubtitle();
    EXPECT_FLOAT_EQ(placed.x, 946.5f);
}

TEST_F(SubtitlesTest, FrameSetsItsTextStateAndDropShadowThenClearsTheShadow) {
    sim::setSubtitle("SUBTITLE");
    drawSubtitles();
    // Scale (0.3739 * 2.25, 0.7245 * 1080 / 448); wrap width 200 * 2.25; margins 50 and 50:
    // left 58 * 2.25 = 130.5, width 1920 - 130.5 - 130.5 = 1659, x = 829.5 + 130.5 - 2.25;
    // y = 1080 - (50 - 4 + 1) * 1080 / 448 = 966.696.
    EXPECT_EQ(sim::describeAll(), R"(textSwitch501C80()
textSwitch501CF0()
setTextBackgroundColour(rgba(0 0 0 128))
setTextScale(0.841, 1.747)
setCentreOn()
textSwitch501DA0()
setWrapWidth(450.000)
setFont(0.000)
setCentreWidth(1659.000)
setDropShadowOffset(1.000)
setDropShadowColour(rgba(0 0 0 255))
setTextColour(rgba(235 235 235 255))
printText(957.750, 966.696, "SUBTITLE")
setDropShadowOffset(0.000)
)");
}

TEST_F(SubtitlesTest, NothingWithoutTextOrWhileWastedOrBustedShows) {
    drawSubtitles();
    EXPECT_TRUE(sim::calls().empty());
    sim::setSubtitle("SUBTITLE");
    sim::setMessage(2, "WASTED");
    drawSubtitles();
    EXPECT_TRUE(sim::calls().empty());
    sim::setMessage(2, "");
    EXPECT_FLOAT_EQ(drawnSubtitle().x, 957.75f);
}

} // namespace
