// Odd-job messages (slots 3 and 4) and the odd-job result line (slot 5), drawn after the help
// box by the same call.
#include "hud/hud_drawers.h"
#include "message_test_support.h"

namespace {

using namespace messages_test;
using OddJobMessagesTest = MessagesTest;

TEST_F(OddJobMessagesTest, AMissionTitleHidesTheSecondMessageAndTheResultLineNotTheFirst) {
    sim::setMessage(3, "FIRST");
    sim::setMessage(4, "SECOND");
    sim::setMessage(5, "RESULT");
    drawHelpBoxAndOddJobs();
    EXPECT_EQ(printedText("SECOND").size(), 2u);
    EXPECT_EQ(printedText("RESULT").size(), 2u);
    sim::setMessage(1, "TITLE");
    sim::clearCalls();
    drawHelpBoxAndOddJobs();
    EXPECT_EQ(printedText("FIRST").size(), 2u);
    EXPECT_TRUE(printedText("SECOND").empty());
    EXPECT_TRUE(printedText("RESULT").empty());
    // Hidden, the result line still moves on: 380 less at most 40.
    EXPECT_EQ(sim::resultPosition(), 340.0f);
}

TEST_F(OddJobMessagesTest, FirstMessageShadowFallsBelowRightSecondAboveLeft) {
    sim::setMessage(3, "FIRST");
    sim::setMessage(4, "SECOND");
    drawHelpBoxAndOddJobs();
    // Centre 960, 540 - 40 * 1080 / 448; shadow 2 * 2.25 across and 2 * 1080 / 448 down or up.
    const float y = 540.0f - 40 * 1080.0f / 448.0f;
    const float dy = 2 * 1080.0f / 448.0f;
    const auto first = printedText("FIRST");
    const auto second = printedText("SECOND");
    ASSERT_EQ(first.size(), 2u);
    ASSERT_EQ(second.size(), 2u);
    EXPECT_FLOAT_EQ(first[0].x, 964.5f);
    EXPECT_FLOAT_EQ(first[0].y, y + dy);
    EXPECT_FLOAT_EQ(second[0].x, 955.5f);
    EXPECT_FLOAT_EQ(second[0].y, y - dy);
    for (const auto& text : {first, second}) {
        EXPECT_EQ(text[0].colour, (sim::Colour{0, 0, 0, 255}));
        EXPECT_EQ(text[1].colour, (sim::Colour{89, 115, 150, 255}));
        EXPECT_FLOAT_EQ(text[1].x, 960.0f);
        EXPECT_FLOAT_EQ(text[1].y, y);
    }
    // Centring widths 600 and 620 layout units.
    const auto widths = sim::callsTo("setCentreWidth");
    ASSERT_EQ(widths.size(), 2u);
    EXPECT_FLOAT_EQ(widths[0].numbers[0], 600 * 2.25f);
    EXPECT_FLOAT_EQ(widths[1].numbers[0], 620 * 2.25f);
}

TEST_F(OddJobMessagesTest, ResultLineFrameSetsItsTextStateThenPrintsShadowAndText) {
    sim::setMessage(5, "RESULT");
    drawHelpBoxAndOddJobs();
    // Scale (0.44 * 2.25, 0.859 * 1080 / 448); centring width 1920 - 20 * 2.25; the line at
    // 540 - 20 * 1080 / 448 = 491.786, the shadow 2 * 1080 / 448 lower.
    EXPECT_EQ(sim::describeAll(), R"(textSwitch501C80()
textSwitch501CF0()
setTextScale(0.990, 2.071)
setCentreOn()
textSwitch501DA0()
setCentreWidth(1875.000)
setTextColour(rgba(0 0 0 255))
setFont(0.000)
printText(964.500, 496.607, "RESULT")
setTextColour(rgba(156 91 40 255))
printText(960.000, 491.786, "RESULT")
)");
}

TEST_F(OddJobMessagesTest, ResultLineStepsComeInShowAndGoOut) {
    sim::setMessage(5, "RESULT");
    drawHelpBoxAndOddJobs(); // 0: starts out at 380
    EXPECT_EQ(sim::resultStep(), 1);
    EXPECT_EQ(sim::resultPosition(), 380.0f);
    drawHelpBoxAndOddJobs(); // 380 less at most 40
    EXPECT_EQ(sim::resultPosition(), 340.0f);
    sim::resultPosition() = 120.0f;
    drawHelpBoxAndOddJobs(); // 120 less a sixth
    EXPECT_EQ(sim::resultPosition(), 100.0f);
    sim::resultPosition() = 2.0f;
    sim::resultByte() = 77;
    drawHelpBoxAndOddJobs(); // arrived
    EXPECT_EQ(sim::resultStep(), 2);
    EXPECT_EQ(sim::resultByte(), 0);
    drawHelpBoxAndOddJobs(); // 20 per tick
    EXPECT_EQ(sim::resultByte(), 20);
    sim::resultByte() = 120;
    drawHelpBoxAndOddJobs(); // 140 kept as a signed byte
    EXPECT_EQ(sim::resultByte(), 140 - 256);
    EXPECT_EQ(sim::resultStep(), 2); // the game moves it on

    sim::resultStep() = 3;
    sim::resultPosition() = 200.0f;
    drawHelpBoxAndOddJobs(); // a fifth, 40
    EXPECT_EQ(sim::resultPosition(), 160.0f);
    drawHelpBoxAndOddJobs(); // a fifth is 32
    EXPECT_EQ(sim::resultPosition(), 128.0f);
    sim::resultPosition() = -350.0f;
    drawHelpBoxAndOddJobs(); // at least 30: -380 is not yet below -380
    EXPECT_EQ(sim::resultPosition(), -380.0f);
    EXPECT_EQ(sim::resultStep(), 3);
    drawHelpBoxAndOddJobs();
    EXPECT_EQ(sim::resultPosition(), -410.0f);
    EXPECT_EQ(sim::resultStep(), 0);
    EXPECT_EQ(sim::resultDelay(), 5000.0f);
}

TEST_F(OddJobMessagesTest, ResultLineWaitsOutItsDelay) {
    sim::resultDelay() = 30.0f;
    drawHelpBoxAndOddJobs(); // counts down without a result too
    EXPECT_EQ(sim::resultDelay(), 10.0f);
    sim::setMessage(5, "RESULT");
    sim::clearCalls();
    sim::resultDelay() = 50.0f;
    drawHelpBoxAndOddJobs(); // 30 left: nothing
    EXPECT_TRUE(printed().empty());
    EXPECT_EQ(sim::resultStep(), 0);
    drawHelpBoxAndOddJobs(); // 10 left
    drawHelpBoxAndOddJobs(); // -10: on its way
    EXPECT_EQ(sim::resultDelay(), -10.0f);
    EXPECT_EQ(sim::resultStep(), 1);
    EXPECT_EQ(printedText("RESULT").size(), 2u);
}

TEST_F(OddJobMessagesTest, NothingWhileTheHelpBoxIsHiddenOrDrawingSuppressed) {
    sim::setMessage(3, "FIRST");
    sim::setMessage(5, "RESULT");
    sim::setHelpBoxHidden(true);
    drawHelpBoxAndOddJobs();
    EXPECT_TRUE(printed().empty());
    EXPECT_EQ(sim::resultStep(), 0);
    sim::setHelpBoxHidden(false);
    sim::setHudSuppressed(true);
    drawHelpBoxAndOddJobs();
    EXPECT_TRUE(printed().empty());
    sim::setHudSuppressed(false);
    drawHelpBoxAndOddJobs();
    EXPECT_EQ(printedText("FIRST").size(), 2u);
}

} // namespace
