// Text laid out and drawn with the game's text state.
#include "preview/preview_support.h"
#include "tools/preview/render/renderer.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace preview;
using preview_testing::Box;
using preview_testing::colourBox;
using preview_testing::inkBox;

namespace {

using namespace preview_testing::colours;

TextState bigText(Align align) {
    TextState state;
    state.scaleX = 1.0f;
    state.scaleY = 2.0f; // 48 pixels a line
    state.align = align;
    return state;
}

} // namespace

class Text : public testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(preview_testing::fonts().face(0).loaded()); }
    TextPainter painter{preview_testing::fonts()};
};

TEST_F(Text, FontsZeroOneAndTwoAreThreeDejaVuFaces) {
    EXPECT_STREQ(faceFile(0), "DejaVuSans.ttf");
    EXPECT_STREQ(faceFile(1), "DejaVuSansMono.ttf");
    EXPECT_STREQ(faceFile(2), "DejaVuSansCondensed-Bold.ttf");
    TextState state = bigText(Align::Left);
    state.font = 1;
    // Monospaced: "iii" as wide as "WWW".
    EXPECT_FLOAT_EQ(painter.width(state, u"iii"), painter.width(state, u"WWW"));
    state.font = 0;
    EXPECT_LT(painter.width(state, u"iii"), painter.width(state, u"WWW"));
    state.font = 7;
    EXPECT_FLOAT_EQ(painter.width(state, u"WWW"), [&] {
        TextState zero = state;
        zero.font = 0;
        return painter.width(zero, u"WWW");
    }()) << "an unknown font number draws with font 0";
}

TEST_F(Text, RightJustifiedTextEndsAtItsX) {
    Image canvas(300, 80, black);
    const TextState state = bigText(Align::Right);
    const TextLayout layout = painter.layout(state, 250, u"$12450");
    ASSERT_EQ(layout.lines.size(), 1u);
    EXPECT_FLOAT_EQ(layout.lines[0].left + layout.lines[0].width, 250.0f);
    painter.print(canvas, state, 250, 10, u"$12450");
    const Box ink = inkBox(canvas, black);
    ASSERT_FALSE(ink.empty());
    // The last digit's right side bearing is a few pixels at most.
    EXPECT_LE(ink.right, 250);
    EXPECT_GE(ink.right, 250 - 6);
}

TEST_F(Text, CentredTextIsCentredOnItsX) {
    Image canvas(300, 80, black);
    const TextState state = bigText(Align::Centre);
    const TextLayout layout = painter.layout(state, 150, u"HOH");
    ASSERT_EQ(layout.lines.size(), 1u);
    EXPECT_FLOAT_EQ(layout.lines[0].left + layout.lines[0].width / 2, 150.0f);
    painter.print(canvas, state, 150, 10, u"HOH");
    const Box ink = inkBox(canvas, black);
    ASSERT_FALSE(ink.empty());
    EXPECT_NEAR((ink.left + ink.right + 1) / 2.0, 150.0, 1.5);
}

TEST_F(Text, LeftAlignedTextStartsAtItsXWithItsTopAtY) {
    Image canvas(300, 80, black);
    const TextState state = bigText(Align::Left);
    painter.print(canvas, state, 20, 10, u"H");
    const Box ink = inkBox(canvas, black);
    ASSERT_FALSE(ink.empty());
    EXPECT_GE(ink.left, 20);
    EXPECT_LE(ink.left, 20 + 6); // the H's left side bearing
    // A capital sits below the line's top by the face's ascent less its cap height.
    EXPECT_GT(ink.top, 10);
    EXPECT_LT(ink.bottom, 10 + 48);
}

TEST_F(Text, ScaleYSetsTheLineHeightAndScaleXTheWidth) {
    TextState state = bigText(Align::Left);
    EXPECT_FLOAT_EQ(painter.layout(state, 0, u"A").lineHeight, 48.0f); // 24 * 2
    const float width = painter.width(state, u"Money");
    state.scaleX = 2.0f;
    EXPECT_NEAR(painter.width(state, u"Money"), 2 * width, 0.01);
}

TEST_F(Text, WrapsAtTheWrapXForLeftAlignedText) {
    TextState state = bigText(Align::Left);
    const float word = painter.width(state, u"Lose the");
    state.wrapX = 10 + word + 1;
    const TextLayout layout = painter.layout(state, 10, u"Lose the cops");
    ASSERT_EQ(layout.lines.size(), 2u);
    EXPECT_EQ(layout.lines[0].text, u"Lose the");
    EXPECT_EQ(layout.lines[1].text, u"cops");
    EXPECT_FLOAT_EQ(layout.lines[1].left, 10.0f);
    // No wrap x right of x: no limit.
    state.wrapX = 0;
    EXPECT_EQ(painter.layout(state, 10, u"Lose the cops").lines.size(), 1u);
}

TEST_F(Text, CentredTextWrapsAtItsCentringWidthAndRightJustifiedAtItsWrapX) {
    TextState state = bigText(Align::Centre);
    state.centreWidth = painter.width(state, u"one two") + 1;
    EXPECT_EQ(painter.layout(state, 150, u"one two three").lines.size(), 2u);
    state.align = Align::Right;
    state.rightWrapX = 200 - state.centreWidth;
    const TextLayout right = painter.layout(state, 200, u"one two three");
    ASSERT_EQ(right.lines.size(), 2u);
    EXPECT_FLOAT_EQ(right.lines[1].left + right.lines[1].width, 200.0f);
}

TEST_F(Text, DropShadowIsDrawnOffsetInTheShadowColourUnderTheText) {
    Image canvas(448, 448, black); // one layout unit: 448/448 down, 448/480 across
    TextState state = bigText(Align::Left);
    state.colour = white;
    state.shadowOffset = 10;
    state.shadowColour = {255, 0, 0, 255};
    painter.print(canvas, state, 40, 40, u"I");
    const Box text = colourBox(canvas, white);
    const Box shadow = colourBox(canvas, {255, 0, 0, 255});
    ASSERT_FALSE(text.empty());
    ASSERT_FALSE(shadow.empty());
    // 10 units: 10 pixels down, 10 * 448/480 = 9.33 across.
    EXPECT_EQ(shadow.bottom - text.bottom, 10);
    EXPECT_NEAR(shadow.right - text.right, 9.33, 1.0);
}

TEST_F(Text, TextAlphaFadesTextAndShadow) {
    Image canvas(200, 80, black);
    TextState state = bigText(Align::Left);
    state.colour = white;
    state.alpha = 0.0f;
    state.shadowOffset = 1;
    painter.print(canvas, state, 10, 10, u"Faded");
    EXPECT_TRUE(inkBox(canvas, black).empty());
    state.alpha = 102.0f; // 40 percent
    painter.print(canvas, state, 10, 10, u"l");
    const Box ink = inkBox(canvas, black);
    ASSERT_FALSE(ink.empty());
    int brightest = 0;
    for (int y = ink.top; y <= ink.bottom; ++y)
        for (int x = ink.left; x <= ink.right; ++x)
            brightest = std::max<int>(brightest, canvas.at(x, y).r);
    EXPECT_NEAR(brightest, 102, 2);
}

TEST_F(Text, BackgroundBoxReachesTheWrapXOrHugsTheText) {
    Image canvas(300, 80, black);
    TextState state = bigText(Align::Left);
    state.colour = {0, 0, 0, 0};
    state.background = true;
    state.backgroundColour = {0, 0, 255, 255};
    state.wrapX = 250;
    painter.print(canvas, state, 20, 10, u"Help");
    const Box box = colourBox(canvas, {0, 0, 255, 255});
    EXPECT_GE(box.right, 250);
    EXPECT_EQ(box.top, 10);
    EXPECT_EQ(box.bottom, 10 + 48 - 1);
    Image hugging(300, 80, black);
    state.backgroundHugsText = true;
    painter.print(hugging, state, 20, 10, u"Help");
    EXPECT_LT(colourBox(hugging, {0, 0, 255, 255}).right, 20 + painter.width(state, u"Help") + 10);
}

TEST_F(Text, AbsurdScalesDrawNothingAndDoNotFail) {
    Image canvas(100, 100, black);
    TextState state = bigText(Align::Left);
    for (float scale : {0.0f, -2.0f, NAN, INFINITY, 1e9f}) {
        state.scaleY = scale;
        painter.print(canvas, state, 10, 10, u"Cash");
    }
    state.scaleY = 2.0f;
    state.scaleX = NAN;
    painter.print(canvas, state, 10, 10, u"Cash");
    EXPECT_TRUE(inkBox(canvas, black).empty());
}
