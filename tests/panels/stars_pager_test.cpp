// Wanted stars and the pager.
#include "panel_test_support.h"

namespace {

using Quad = std::vector<double>;

// Corners in the order (left, bottom), (right, bottom), (left, top), (right, top).
Quad corners(double left, double bottom, double right, double top) {
    return {left, bottom, right, bottom, left, top, right, top};
}

std::vector<sim::HostCall> starsAt(uint32_t now, uint32_t frame = 0) {
    sim::setClock(now);
    sim::setFrameCounter(frame);
    sim::clearCalls();
    drawWantedStars();
    return sim::callsTo("drawSpriteQuad");
}

using WantedStars = PanelTest;

TEST_F(WantedStars, LevelThreeIsSixDarkSlotsThenThreeStarsOnWholePixels) {
    EXPECT_TRUE(starsAt(100000, 4).empty()); // level 0: not even the slots
    sim::setWantedLevel(3, 0);
    const auto quads = starsAt(100000);
    ASSERT_EQ(quads.size(), 6u + 3u);
    // 1920 x 1080, one unit a pixel: star i from 1920 - trunc(62 + 33.33 + 30i) to
    // 1920 - (62 + 30i), from 40 down to trunc(40 + 33.33).
    for (size_t i = 0; i < quads.size(); ++i) {
        const double star = double(i % 6);
        EXPECT_EQ(quads[i].numbers, corners(1825 - 30 * star, 73, 1858 - 30 * star, 40)) << i;
        const sim::Colour colour =
            i < 6 ? sim::Colour{0, 0, 0, 200} : sim::Colour{193, 164, 120, 255};
        EXPECT_EQ(quads[i].colour, colour);
        EXPECT_EQ(quads[i].name, "tarvel_iii/star");
    }
    sim::setWantedLevel(9, 0);
    EXPECT_EQ(starsAt(100000).size(), 12u); // six at most
}

TEST_F(WantedStars, OnAPortraitScreenTheWidthIsTheUnit) {
    sim::setScreenSize(720, 1280);
    sim::setWantedLevel(1, 0);
    const auto quads = starsAt(100000);
    ASSERT_EQ(quads.size(), 7u);
    // trunc(v x 720 / 1080): 95.33 -> 63, 62 -> 41, 73.33 -> 48, 40 -> 26.
    EXPECT_EQ(quads[6].numbers, corners(720 - 63, 48, 720 - 41, 26));
}

TEST_F(WantedStars, BlinkFourFramesOnFourOffUntilTwoSecondsAfterAChange) {
    sim::setWantedLevel(2, 5000);
    for (uint32_t frame : {0u, 3u, 4u, 7u, 8u, 0x104u}) {
        const size_t shown = (frame & 4) ? 8 : 0;
        EXPECT_EQ(starsAt(6000, frame).size(), shown) << frame;
        EXPECT_EQ(starsAt(7000, frame).size(), shown) << frame; // at exactly 2000 ms too
        EXPECT_EQ(starsAt(7001, frame).size(), 8u) << frame;
    }
    // Across the clock's wrap: changed 256 ms before it, so 1000 ms after it they still blink.
    sim::setWantedLevel(1, 0xFFFFFF00u);
    EXPECT_TRUE(starsAt(1000).empty());
    EXPECT_EQ(starsAt(1745).size(), 7u);
}

class Pager : public PanelTest {
  protected:
    void frame() {
        sim::clearCalls();
        drawPager();
    }
};

TEST_F(Pager, AMessageSlidesInWithOneBeepAndDrawsThis) {
    frame();
    EXPECT_TRUE(sim::calls().empty());
    sim::setPagerText("CALL ME");
    frame();
    EXPECT_EQ(sim::pagerOffset(), 140.0f); // 150 - 1 x min(10, 15)
    auto calls = sim::calls();
    ASSERT_GE(calls.size(), 2u);
    calls[1].object = 0; // the sprite's own address
    std::string log;
    for (const auto& call : calls)
        log += sim::describe(call) + "\n";
    // Sprite from (26 - 140) x 2.25 to (146 - 140) x 2.25, 87 and 27 x 1080 / 448. Scale
    // 0.3739 x 2.25, 0.7245 x 1080 / 448. Text at (52 - 140) x 2.25, 54 x 1080 / 448.
    EXPECT_EQ(log, "playSound(@008F3964, 96.000, 0.000)\n"
                   "drawSprite(-256.500, 209.732, 13.500, 65.089, 'tarvel_iii/pager', "
                   "rgba(255 255 255 255))\n"
                   "textSwitch501CF0()\n"
                   "setTextScale(0.841, 1.747)\n"
                   "setTextColour(rgba(32 162 66 205))\n"
                   "textSwitch501D70()\n"
                   "textSwitch501CF0()\n"
                   "textSwitch501CB0()\n"
                   "textSwitch501C80()\n"
                   "textSwitch501D90()\n"
                   "setFont(1.000)\n"
                   "printText(-198.000, 130.179, \"CALL ME\")\n");
    // A tenth of the way per tick, at most 10 units: slowing as it arrives.
    sim::setTimeStep(2.0f);
    for (float offset : {120.0f, 100.0f, 80.0f, 64.0f}) {
        frame();
        EXPECT_FLOAT_EQ(sim::pagerOffset(), offset);
        EXPECT_EQ(sim::countCalls("playSound"), 0u);
    }
}

TEST_F(Pager, AMessageEndingWhileSlidingInTurnsRoundThenNothingIsDrawn) {
    sim::setPagerText("CALL ME");
    frame();
    frame();
    sim::setPagerText("");
    sim::setTimeStep(3.0f); // sliding out ignores the frame time
    frame();
    EXPECT_EQ(sim::pagerStep(), 2);
    EXPECT_FLOAT_EQ(sim::pagerOffset(), 130 + 13); // a tenth of the way out, at least 2
    frame();
    EXPECT_EQ(sim::pagerStep(), 0); // 143 + 14.3 passes 150: held there, drawn once more
    EXPECT_FLOAT_EQ(firstCallTo("drawSprite").numbers[0], (26 - 150) * unitX);
    frame();
    EXPECT_TRUE(sim::calls().empty());
    sim::pagerStep() = 2;
    sim::pagerOffset() = 10;
    frame();
    EXPECT_FLOAT_EQ(sim::pagerOffset(), 10 + 2);
}

TEST_F(Pager, TheBeepPlaysOncePerAppearance) {
    sim::setPagerText("FIRST");
    for (int i = 0; i < 20; ++i)
        drawPager();
    sim::setPagerText("");
    drawPager();
    sim::setPagerText("SECOND"); // waits until the pager is out of view
    while (sim::pagerStep() == 2)
        drawPager();
    EXPECT_EQ(sim::countCalls("playSound"), 1u);
    drawPager();
    EXPECT_EQ(sim::countCalls("playSound"), 2u);
}

} // namespace
