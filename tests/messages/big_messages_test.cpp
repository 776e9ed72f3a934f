// The centre message, wasted or busted, and the mission title.
#include "hud/hud_drawers.h"
#include "message_test_support.h"
#include "sim/host_names.h"

#include <algorithm>
#include <utility>

namespace {

using namespace messages_test;
using BigMessagesTest = MessagesTest;

// The alpha of the frame's last print, or -1 when the frame printed nothing.
int drawFrame(void (*draw)()) {
    sim::clearCalls();
    draw();
    const auto texts = printed();
    return texts.empty() ? -1 : texts.back().colour.a;
}

// Frames of entry before the hold starts counting, on a screen of the given width.
int entryFrames(int width) {
    sim::layOut(sim::Build::v100);
    sim::setScreenSize(width, 1080);
    sim::setMessage(0, "ENTRY");
    drawBigMessages(); // the first frame only resets
    int frames = 0;
    while (sim::messageHold(0) == 1.0f && frames < 10000) {
        drawBigMessages();
        ++frames;
    }
    return frames - 1; // the last one already counted the hold
}

TEST_F(BigMessagesTest, CentreMessageEntersHoldsFor120TicksThenFadesAndIsCleared) {
    // 20 ms frames: opacity and slide move by 20 * 0.3 = 6 a frame.
    sim::setMessage(0, "MISSION PASSED");
    std::vector<int> alphas;
    for (int frame = 0; frame < 1 + 323 + 118 + 43 + 1; ++frame)
        alphas.push_back(drawFrame(drawBigMessages));

    std::vector<int> expected{-1}; // the first frame resets the slot's values only
    // Entry while the slide, from -60, is short of 1920 - 20 * 1080 / 480 = 1875:
    // -60 + 6 * 322 = 1872 still is, so 323 frames.
    for (int e = 1; e <= 323; ++e)
        expected.push_back(std::min(255, 6 * e));
    // The hold count goes from 1 to 119 at full opacity...
    for (int h = 1; h <= 118; ++h)
        expected.push_back(255);
    // ...and the frame it reaches 120 starts the fade: 255 - 6, 255 - 12, ... 255 - 6 * 42 = 3.
    for (int f = 1; f <= 42; ++f)
        expected.push_back(255 - 6 * f);
    expected.push_back(0);  // 255 - 6 * 43 < 0: the slot is cleared, this print at alpha 0
    expected.push_back(-1); // then nothing
    EXPECT_EQ(alphas, expected);
    EXPECT_EQ(sim::message(0), u"");
    EXPECT_EQ(sim::messageHold(0), 0.0f);
    EXPECT_EQ(sim::messageOpacity(0), 0.0f);
}

TEST_F(BigMessagesTest, CentreMessageKeepsItsTimingInTheGamesArrays) {
    sim::setMessage(0, "HELLO");
    drawBigMessages();
    EXPECT_EQ(sim::messageHold(0), 1.0f);
    EXPECT_EQ(sim::messageSlide(0), -60.0f);
    EXPECT_EQ(sim::messageOpacity(0), 0.0f);
    drawBigMessages();
    EXPECT_EQ(sim::messageSlide(0), -54.0f);
    EXPECT_EQ(sim::messageOpacity(0), 6.0f);
    // A 250 ms frame: 250 * 0.3 = 75 more.
    sim::setTimeStep(12.5f);
    drawBigMessages();
    EXPECT_EQ(sim::messageSlide(0), 21.0f);
    EXPECT_EQ(sim::messageOpacity(0), 81.0f);
    // The game empties the slot: the hold starts over.
    sim::setMessage(0, "");
    drawBigMessages();
    EXPECT_EQ(sim::messageHold(0), 0.0f);
}

TEST_F(BigMessagesTest, CentreMessageFrameSetsItsTextStateThenPrintsShadowAndText) {
    sim::setMessage(0, "HELLO");
    drawBigMessages();
    sim::clearCalls();
    drawBigMessages();
    // Scale (0.45 * 2.25, 1080 / 448); centring width 615 * 2.25; the shadow 2 * 2.25 right of
    // the centre and at 540 - (20 - 2) * 1080 / 448 = 496.607, the text at 540 - 18 * 1080 / 448.
    EXPECT_EQ(sim::describeAll(), R"(textSwitch501C80()
textSwitch501CF0()
textSwitch501D40()
setTextScale(1.013, 2.411)
textSwitch501DA0()
setCentreOn()
setCentreWidth(1383.750)
setFont(2.000)
setTextColour(rgba(0 0 0 6))
printText(964.500, 496.607, "HELLO")
setTextColour(rgba(85 119 133 6))
printText(960.000, 496.607, "HELLO")
)");
}

TEST_F(BigMessagesTest, OnAWiderScreenTheEntryLastsLonger) {
    // The slide must reach the width less 20 * 1080 / 480 = 45, from -60 in steps of 6.
    EXPECT_EQ(entryFrames(1920), 323); // (1875 + 60) / 6 = 322.5
    EXPECT_EQ(entryFrames(2560), 430); // (2515 + 60) / 6 = 429.2
}

TEST_F(BigMessagesTest, WastedFadesInOverOneSecondOnceTheCentreMessageHasGone) {
    sim::setMessage(0, "CENTRE");
    sim::setMessage(2, "WASTED");
    for (int frame = 0; frame < 5; ++frame) {
        drawFrame(drawBigMessages);
        EXPECT_EQ(printedAlpha("WASTED"), -1);
        EXPECT_EQ(sim::messageHold(2), 0.0f);
    }
    sim::setMessage(0, "");
    sim::setTimeStep(12.5f);                   // 250 ms frames: 12.5 / 50 * 255 = 63.75 a frame
    EXPECT_EQ(drawFrame(drawBigMessages), -1); // resets only
    EXPECT_EQ(sim::messageHold(2), 1.0f);
    EXPECT_EQ(drawFrame(drawBigMessages), 63);
    EXPECT_EQ(drawFrame(drawBigMessages), 127);
    EXPECT_EQ(drawFrame(drawBigMessages), 191);
    EXPECT_EQ(drawFrame(drawBigMessages), 255); // one second
    EXPECT_EQ(drawFrame(drawBigMessages), 255);
    EXPECT_EQ(sim::message(2), u"WASTED"); // the game removes it, not the plug-in
}

TEST_F(BigMessagesTest, WastedStartsItsFadeAfreshAfterAnotherCentreMessage) {
    sim::setMessage(2, "BUSTED");
    for (int frame = 0; frame < 26; ++frame)
        drawBigMessages();
    // 25 frames of 20 ms: 25 * 5.1 = 127.5.
    EXPECT_EQ(printedAlpha("BUSTED"), 127);
    sim::setMessage(0, "CENTRE");
    drawFrame(drawBigMessages);
    EXPECT_EQ(printedAlpha("BUSTED"), -1);
    sim::setMessage(0, "");
    EXPECT_EQ(drawFrame(drawBigMessages), -1);
    EXPECT_EQ(drawFrame(drawBigMessages), 5); // 5.1 again
}

TEST_F(BigMessagesTest, WastedIsRightJustifiedWithADropShadow) {
    sim::setMessage(2, "WASTED");
    drawBigMessages();
    sim::setTimeStep(12.5f);
    sim::clearCalls();
    drawBigMessages();
    // Ends 30 * 2.25 right of the centre, at 540 - 18 * 1080 / 448 = 496.607.
    EXPECT_EQ(sim::describeAll(), R"(textSwitch501CF0()
setTextScale(1.013, 2.411)
textSwitch501DA0()
setRightJustifyOn()
setFont(2.000)
setDropShadowOffset(2.000)
setDropShadowColour(rgba(0 0 0 63))
setTextColour(rgba(170 123 87 63))
printText(1027.500, 496.607, "WASTED")
)");
}

TEST_F(BigMessagesTest, MissionTitleSitsAtTheLowerRightWithAGreyShadow) {
    sim::setMessage(1, "THE TITLE");
    drawMissionTitle(0);
    sim::clearCalls();
    drawMissionTitle(0);
    // Right edge 1920 - 20 * 2.25 = 1875, bottom 1080 - 40 * 1080 / 448 = 983.571; the shadow
    // 2 * 2.25 right and 2 * 1080 / 448 lower. Right-justify width -500 * 2.25; font 1.
    EXPECT_EQ(sim::describeAll(), R"(textSwitch501C80()
textSwitch501CF0()
setTextScale(1.013, 2.411)
textSwitch501DA0()
setRightJustifyWidth(-1125.000)
setRightJustifyOn()
setFont(1.000)
setTextColour(rgba(40 40 40 6))
printText(1879.500, 988.393, "THE TITLE")
setTextColour(rgba(220 172 2 6))
printText(1875.000, 983.571, "THE TITLE")
)");
}

TEST_F(BigMessagesTest, MissionTitleMovesUpByTheOffsetShadowAndTextTogether) {
    sim::setMessage(1, "THE TITLE");
    drawMissionTitle(15);
    sim::clearCalls();
    drawMissionTitle(15);
    const auto title = printedText("THE TITLE");
    ASSERT_EQ(title.size(), 2u);
    const float bottom = 1080.0f - (15 + 40) * 1080.0f / 448.0f;
    EXPECT_FLOAT_EQ(title[0].y, bottom + 2 * 1080.0f / 448.0f);
    EXPECT_FLOAT_EQ(title[1].y, bottom);
    EXPECT_FLOAT_EQ(title[1].x, 1875.0f);
}

TEST_F(BigMessagesTest, MissionTitleIsLargeWithTheGamesOptionOrTextSizeFour) {
    const auto scaleWith = [](bool option, uint8_t textSize) {
        sim::layOut(sim::Build::v100);
        sim::setLargeMissionTitle(option);
        sim::setTextSizeSetting(textSize);
        sim::setMessage(1, "T");
        drawMissionTitle(0);
        drawMissionTitle(0);
        return sim::callsTo("setTextScale").at(0).numbers;
    };
    const std::vector<double> large{0.884f * 2.25f, 1.36f * 1080.0f / 448.0f};
    const std::vector<double> normal{0.45f * 2.25f, 1080.0f / 448.0f};
    const auto near = [](const std::vector<double>& a, const std::vector<double>& b) {
        return std::abs(a[0] - b[0]) < 1e-5 && std::abs(a[1] - b[1]) < 1e-5;
    };
    EXPECT_TRUE(near(scaleWith(true, 0), large));
    EXPECT_TRUE(near(scaleWith(false, 4), large));
    EXPECT_TRUE(near(scaleWith(false, 3), normal));
}

// The game has fonts 0, 1 and 2; any other number, even one whose low 16 bits name a font,
// gives the default font 1.
TEST_F(BigMessagesTest, MissionTitleFontIsOneOfTheGamesFonts) {
    sim::setMessage(1, "T");
    for (const auto& [configured, font] :
         {std::pair{2, 2}, std::pair{0x10002, 1}, std::pair{7, 1}}) {
        hudSettings.ZONE_VEHICLE_FONT = configured;
        sim::clearCalls();
        drawMissionTitle(0);
        drawMissionTitle(0);
        EXPECT_EQ(sim::callsTo("setFont").at(0).numbers, std::vector<double>{double(font)})
            << configured;
    }
}

} // namespace
