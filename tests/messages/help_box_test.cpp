// The help box: its timing kept in the game's help-box variables, its sound and its place.
#include "hud/hud_drawers.h"
#include "message_test_support.h"
#include "sim/host_panels.h"

#include <string>

namespace {

using namespace messages_test;
using HelpBoxTest = MessagesTest;

const std::string fortyCharacters = "Press the horn to call the taxi at once.";

// The box opacity a frame handed the game, or -1 when it drew no box.
int drawFrame() {
    sim::clearCalls();
    drawHelpBoxAndOddJobs();
    const auto alphas = sim::callsTo("setTextAlpha");
    return alphas.size() == 2 ? static_cast<int>(alphas[0].numbers[0]) : -1;
}

// Frames drawn at full opacity 225 before the box starts fading.
int framesAtFullOpacity() {
    drawFrame(); // fading in: opacity 0 for one frame
    int frames = 0;
    while (drawFrame() == 225 && frames < 10000)
        ++frames;
    return frames;
}

TEST_F(HelpBoxTest, AFortyCharacterTextStaysFiveSeconds) {
    ASSERT_EQ(fortyCharacters.size(), 40u);
    sim::setHelpText(fortyCharacters);
    // Duration 40 * 0.05 + 3 = 5 s. The timer counts 20 ms a frame from the first frame; the
    // frame that finds it past 5000 ms still shows the box: 20 * 251 = 5020.
    EXPECT_EQ(framesAtFullOpacity(), 251);
    EXPECT_EQ(sim::helpBoxDuration(), 5.0f);
    EXPECT_EQ(sim::helpBoxState(), 3);
    EXPECT_EQ(sim::helpDisplayed(), std::u16string(fortyCharacters.begin(), fortyCharacters.end()));
}

// A wild time step from the game (about 2e31 ms in one frame) saturates: the box shows at once,
// and the game is never handed an opacity outside 0..255.
TEST_F(HelpBoxTest, AWildTimeStepSaturatesInsteadOfWrapping) {
    sim::setTimeStep(1e30f);
    sim::setHelpText(fortyCharacters);
    EXPECT_EQ(drawFrame(), 0); // the frame it fades in
    EXPECT_EQ(sim::helpBoxFade(), 0);
    EXPECT_EQ(sim::helpBoxState(), 1) << "not shown at once";
    const int alpha = drawFrame();
    EXPECT_GE(alpha, 0);
    EXPECT_LE(alpha, 255);
}

TEST_F(HelpBoxTest, TheGamesShortHelpOptionCutsItToOneAndAHalfSeconds) {
    sim::setHelpShortened(true);
    sim::setHelpText(fortyCharacters);
    EXPECT_EQ(framesAtFullOpacity(), 76); // 20 * 76 = 1520 is the first past 1500
}

TEST_F(HelpBoxTest, FadesOutTwoUnitsPerMillisecondThenGoesIdle) {
    sim::setHelpText("SHORT");
    framesAtFullOpacity(); // ends on the first fading frame
    // That frame took the fade from 600 to 600 - 2 * 20 = 560: 560 * 0.001 * 225 = 126.
    EXPECT_EQ(sim::helpBoxFade(), 560);
    std::vector<int> alphas;
    for (int frame = 0; frame < 15; ++frame)
        alphas.push_back(drawFrame());
    // 520 ... 0 in steps of 40 (9 opacity each), then below 0: idle, drawn at 0 a last time.
    std::vector<int> expected;
    for (int fade = 520; fade >= 0; fade -= 40)
        expected.push_back(fade * 225 / 1000);
    expected.push_back(0);
    EXPECT_EQ(alphas, expected);
    EXPECT_EQ(sim::helpBoxState(), 0);
    EXPECT_EQ(drawFrame(), -1); // the same text again: nothing
}

TEST_F(HelpBoxTest, ShowsAtOnceAtOpacity225WithTheHelpSound) {
    sim::setHelpText("HELLO");
    EXPECT_EQ(drawFrame(), 0); // fading in lasts this one frame
    EXPECT_EQ(sim::helpBoxState(), 1);
    const auto sounds = sim::callsTo("playSound");
    ASSERT_EQ(sounds.size(), 1u);
    EXPECT_EQ(sounds[0].numbers, (std::vector<double>{160, 0}));
    EXPECT_EQ(drawFrame(), 225);
    // The background at 225 * 0.4.
    EXPECT_EQ(sim::callsTo("setTextBackgroundColour").at(0).colour, (sim::Colour{0, 0, 0, 90}));
    EXPECT_EQ(sim::countCalls("playSound"), 0u);
}

TEST_F(HelpBoxTest, NoSoundWhileTheGamesSoundGateIsSet) {
    sim::setHelpSoundGate(1.0f);
    sim::setHelpText("HELLO");
    drawFrame();
    EXPECT_EQ(sim::countCalls("playSound"), 0u);
    EXPECT_EQ(sim::helpBoxState(), 1);
}

TEST_F(HelpBoxTest, ANewTextFadesTheOldOneOutFirstAndPlaysNoSecondSound) {
    sim::setHelpText("OLD");
    for (int frame = 0; frame < 10; ++frame)
        drawFrame();
    sim::setHelpText("NEW");
    std::vector<int> oldAlphas;
    for (int frame = 0; frame < 15; ++frame) {
        oldAlphas.push_back(drawFrame());
        EXPECT_EQ(printed().at(0).text, "OLD");
        EXPECT_EQ(sim::helpBoxState(), 4);
    }
    // From 600 down by 40 a frame: 560 ... 0, each fade * 0.225.
    std::vector<int> expected;
    for (int fade = 560; fade >= 0; fade -= 40)
        expected.push_back(fade * 225 / 1000);
    EXPECT_EQ(oldAlphas, expected);
    EXPECT_EQ(sim::helpLastSeen(), u"NEW");

    // Below 0: the new text comes in, fades in for a frame, then shows.
    EXPECT_EQ(drawFrame(), 0);
    EXPECT_EQ(printed().at(0).text, "NEW");
    EXPECT_EQ(sim::helpBoxState(), 2);
    EXPECT_EQ(drawFrame(), 0);
    EXPECT_EQ(drawFrame(), 225);
    EXPECT_EQ(printed().at(0).text, "NEW");

    sim::clearCalls();
    sim::setHelpText("OLD");
    drawHelpBoxAndOddJobs();
    sim::setHelpText("NEW");
    drawHelpBoxAndOddJobs();
    EXPECT_EQ(sim::countCalls("playSound"), 0u);
}

TEST_F(HelpBoxTest, AnEmptyHelpTextDrawsNothingAndKeepsTheState) {
    sim::setHelpText("HELLO");
    drawFrame();
    drawFrame();
    sim::setHelpText("");
    EXPECT_EQ(drawFrame(), -1);
    EXPECT_EQ(sim::helpBoxState(), 1);
    EXPECT_EQ(sim::helpBoxTimer(), 40);
    EXPECT_EQ(sim::countCalls("hostTextEqual"), 0u);
}

TEST_F(HelpBoxTest, FollowsThePagerOutAndHidden) {
    sim::setHelpText("HELLO");
    drawFrame();
    sim::pagerOffset() = 0.0f; // pager out: (150 - 0) * 0.6 + 28 = 118 layout units down
    drawFrame();
    auto text = printedText("HELLO");
    ASSERT_EQ(text.size(), 1u);
    EXPECT_FLOAT_EQ(text[0].x, 26 * 2.25f);
    EXPECT_FLOAT_EQ(text[0].y, 118 * 1080.0f / 448.0f);
    sim::pagerOffset() = 150.0f; // pager hidden: 28 down
    drawFrame();
    text = printedText("HELLO");
    ASSERT_EQ(text.size(), 1u);
    EXPECT_FLOAT_EQ(text[0].y, 28 * 1080.0f / 448.0f);
}

TEST_F(HelpBoxTest, FrameSetsItsTextStateThenPrintsAndRestoresTheAlpha) {
    sim::setHelpText("HELLO");
    drawFrame();
    sim::clearCalls();
    drawHelpBoxAndOddJobs();
    // Scale (0.3739 * 2.25, 0.7245 * 1080 / 448); wrap width (50 + 200 - 4) * 2.25; the text
    // at (26 * 2.25, 118 * 1080 / 448) with the pager out.
    EXPECT_EQ(sim::describeAll(), R"(hostTextEqual(256.000, "HELLO")
setTextAlpha(225.000)
textSwitch501CB0()
textSwitch501DA0()
setTextScale(0.841, 1.747)
setTextColour(rgba(175 175 175 255))
textSwitch501C80()
setWrapWidth(553.500)
setFont(0.000)
textSwitch501CE0()
textSwitch501D40()
setTextBackgroundColour(rgba(0 0 0 90))
setTextColour(rgba(175 175 175 255))
printText(58.500, 284.464, "HELLO")
setTextAlpha(255.000)
)");
}

TEST_F(HelpBoxTest, TheGamesSmallHelpOptionScalesTheTextBy085) {
    sim::setSmallHelpText(true);
    sim::setHelpText("HELLO");
    drawFrame();
    const auto scale = sim::callsTo("setTextScale").at(0).numbers;
    EXPECT_FLOAT_EQ(static_cast<float>(scale[0]), 0.3739f * 0.85f * 2.25f);
    EXPECT_FLOAT_EQ(static_cast<float>(scale[1]), 0.7245f * 0.85f * 1080.0f / 448.0f);
}

TEST_F(HelpBoxTest, TheGamesHideOptionStopsTheBoxWhereItIs) {
    sim::setHelpText("HELLO");
    drawFrame();
    sim::setHelpBoxHidden(true);
    EXPECT_EQ(drawFrame(), -1);
    EXPECT_EQ(sim::helpBoxTimer(), 20);
    sim::setHelpBoxHidden(false);
    EXPECT_EQ(drawFrame(), 225);
}

} // namespace
