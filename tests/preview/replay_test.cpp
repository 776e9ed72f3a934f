// Frames drawn back from logged host calls: the text state at each print, sprites by texture
// name, plain rectangles and the tinted glow.
#include "preview/preview_support.h"
#include "tools/preview/render/replay.h"

#include <gtest/gtest.h>

using namespace preview;
using namespace preview_testing::colours;
using preview_testing::Box;
using preview_testing::colourBox;
using preview_testing::countColour;

namespace {

sim::HostCall call(const std::string& routine, std::vector<double> numbers = {}) {
    sim::HostCall c;
    c.routine = routine;
    c.numbers = std::move(numbers);
    return c;
}

sim::HostCall coloured(const std::string& routine, Rgba8 colour, std::vector<double> numbers = {}) {
    sim::HostCall c = call(routine, std::move(numbers));
    c.colour = {colour.r, colour.g, colour.b, colour.a};
    c.hasColour = true;
    return c;
}

sim::HostCall print(float x, float y, const std::u16string& text) {
    sim::HostCall c = call("printText", {x, y});
    c.text = text;
    return c;
}

sim::HostCall sprite(const std::string& routine, const std::string& texture,
                     std::vector<double> numbers, Rgba8 colour = white) {
    sim::HostCall c = coloured(routine, colour, std::move(numbers));
    c.name = texture;
    return c;
}

class Replay : public testing::Test {
  protected:
    Replay() : greenImage(2, 2, green) {}
    const Image* lookUp(const std::string& name) {
        looked.push_back(name);
        return name == "tarvel_iii/star" ? &greenImage : nullptr;
    }
    Image greenImage;
    std::vector<std::string> looked;
    std::vector<std::string> others;
    FrameReplay replay{preview_testing::fonts(),
                       [this](const std::string& name) { return lookUp(name); },
                       [this](const sim::HostCall& c, Image&) { others.push_back(c.routine); }};
};

} // namespace

TEST_F(Replay, PrintsWithTheTextStateTheCallsBeforeItLeft) {
    Image canvas(300, 100, black);
    replay.play({coloured("setTextColour", red), call("setTextScale", {1.0, 2.0}),
                 call("setRightJustifyOn"), print(200, 20, u"$100")},
                &canvas);
    const Box ink = colourBox(canvas, red);
    ASSERT_FALSE(ink.empty());
    EXPECT_LE(ink.right, 200);
    EXPECT_GE(ink.right, 194);
    EXPECT_EQ(replay.textState().align, Align::Right);
    EXPECT_FLOAT_EQ(replay.textState().scaleY, 2.0f);
}

TEST_F(Replay, TextStateCarriesOverFromFramesThatWereNotDrawn) {
    replay.play({coloured("setTextColour", blue), call("setCentreOn"), call("setFont", {1}),
                 coloured("setDropShadowColour", red), call("setDropShadowOffset", {2}),
                 call("setTextAlpha", {128}), call("setWrapWidth", {400}),
                 call("setCentreWidth", {300}), call("setRightJustifyWidth", {-50}),
                 coloured("setTextBackgroundColour", green)},
                nullptr);
    const TextState& s = replay.textState();
    EXPECT_EQ(s.colour, blue);
    EXPECT_EQ(s.align, Align::Centre);
    EXPECT_EQ(s.font, 1);
    EXPECT_EQ(s.shadowColour, red);
    EXPECT_EQ(s.shadowOffset, 2);
    EXPECT_FLOAT_EQ(s.alpha, 128.0f);
    EXPECT_FLOAT_EQ(s.wrapX, 400.0f);
    EXPECT_FLOAT_EQ(s.centreWidth, 300.0f);
    EXPECT_FLOAT_EQ(s.rightWrapX, -50.0f);
    EXPECT_EQ(s.backgroundColour, green);
}

TEST_F(Replay, SwitchesTurnBackgroundAndAlignmentOnAndOff) {
    replay.play({call("textSwitch501CE0"), call("textSwitch501D30")}, nullptr);
    EXPECT_TRUE(replay.textState().background);
    EXPECT_TRUE(replay.textState().backgroundHugsText);
    replay.play({call("textSwitch501CF0"), call("textSwitch501D40")}, nullptr);
    EXPECT_FALSE(replay.textState().background);
    EXPECT_FALSE(replay.textState().backgroundHugsText);
    replay.play({call("setCentreOn"), call("textSwitch501D70")}, nullptr);
    EXPECT_EQ(replay.textState().align, Align::Centre) << "right justification off leaves centring";
    replay.play({call("textSwitch501CB0")}, nullptr);
    EXPECT_EQ(replay.textState().align, Align::Left);
    replay.play({call("setRightJustifyOn"), call("textSwitch501D70")}, nullptr);
    EXPECT_EQ(replay.textState().align, Align::Left);
    for (const char* on : {"setRightJustifyOn", "setCentreOn"}) {
        replay.play({call(on), call("textSwitch501C80")}, nullptr);
        EXPECT_EQ(replay.textState().align, Align::Left) << "justification off after " << on;
    }
}

TEST_F(Replay, SpritesDrawTheirTextureByNameIntoRectanglesAndQuads) {
    Image canvas(20, 20, black);
    replay.play({sprite("drawSprite", "tarvel_iii/star", {2, 8, 6, 2}),
                 sprite("drawSpriteQuad", "tarvel_iii/star", {10, 18, 18, 18, 10, 12, 18, 12})},
                &canvas);
    const Box rect = colourBox(canvas, green);
    EXPECT_EQ(rect.left, 2);
    EXPECT_EQ(rect.top, 2);
    EXPECT_EQ(rect.right, 17);
    EXPECT_EQ(rect.bottom, 17);
    EXPECT_EQ(countColour(canvas, green, 0), 4 * 6 + 8 * 6);
    EXPECT_EQ(looked, (std::vector<std::string>{"tarvel_iii/star", "tarvel_iii/star"}));
}

TEST_F(Replay, ASpriteWithoutImageIsAnOutline) {
    Image canvas(40, 40, black);
    replay.play({sprite("drawSprite", "tarvel_iii/none", {5, 35, 35, 5})}, &canvas);
    const Box outline = colourBox(canvas, {255, 0, 255, 255}, 40);
    EXPECT_EQ(outline.left, 5);
    EXPECT_EQ(outline.top, 5);
    EXPECT_EQ(outline.right, 34);
    EXPECT_EQ(outline.bottom, 34);
}

TEST_F(Replay, PlainRectanglesFillInTheirColour) {
    Image canvas(10, 10, black);
    // Left, bottom, right, top.
    replay.play({coloured("drawPlainRectangle", red, {1, 6, 4, 2})}, &canvas);
    EXPECT_EQ(countColour(canvas, red, 0), 3 * 4);
    EXPECT_EQ(canvas.at(1, 2), red);
    EXPECT_EQ(canvas.at(3, 5), red);
}

TEST_F(Replay, TheTintedGlowAddsTheRasterTextureAroundItsCentre) {
    Image canvas(20, 20, Rgba8{100, 0, 0, 255});
    replay.nameRaster(0x1234, "tarvel_iii/star");
    // Centre (10, 10), half sizes 4 and 3, tint (0, 100, 0), alpha 255.
    replay.play({call("setRenderState", {1, 0x1234}),
                 call("drawTintedSprite", {10, 10, 10, 4, 3, 0, 100, 0, 255, 1.0, 255})},
                &canvas);
    // Green 255 * 100/255 = 100 added to the red already there.
    EXPECT_EQ(countColour(canvas, {100, 100, 0, 255}, 0), 8 * 6);
    EXPECT_EQ(canvas.at(6, 7), (Rgba8{100, 100, 0, 255}));
    EXPECT_EQ(canvas.at(5, 7), (Rgba8{100, 0, 0, 255}));
}

TEST_F(Replay, RoutinesItDoesNotDrawGoToTheOtherHandlerOnlyWhenDrawing) {
    Image canvas(4, 4, black);
    replay.play({call("radarDrawMap")}, nullptr);
    EXPECT_TRUE(others.empty());
    replay.play({call("radarDrawMap"), call("setTextColour")}, &canvas);
    EXPECT_EQ(others, std::vector<std::string>{"radarDrawMap"});
}

// The layout check's boxes: a text's box is its ink as drawn, sprites and rectangles their
// corners in any order, each with the element that made the call, whether it is drawn the other
// way round, and why it shows nothing when it does not.
TEST_F(Replay, NotesTheBoxOfEachThingDrawnWithItsElement) {
    Image canvas(300, 100, black);
    auto by = [](sim::HostCall c, const char* element) {
        c.caller = element;
        return c;
    };
    std::vector<DrawnBox> boxes;
    replay.play({coloured("setTextColour", red), call("setTextScale", {1.0, 1.0}),
                 by(print(20, 30, u"Escape 02:15"), "mission timers"),
                 by(sprite("drawSprite", "tarvel_iii/star", {250, 60, 210, 20}), "wanted stars"),
                 by(sprite("drawSpriteQuad", "tarvel_iii/star", {5, 90, 15, 95, 0, 80, 12, 70}),
                    "weapon wheel"),
                 by(coloured("drawPlainRectangle", blue, {0, 10, 4, 0}), "radar"),
                 by(coloured("drawPlainRectangle", {0, 0, 255, 0}, {0, 10, 4, 0}), "radar"),
                 call("setTextAlpha", {0}), by(print(20, 60, u"gone"), "pager")},
                &canvas, &boxes);
    ASSERT_EQ(boxes.size(), 6u);
    const Box ink = colourBox(canvas, red, 250);
    const DrawnBox& text = boxes[0];
    EXPECT_EQ(text.element, "mission timers");
    EXPECT_EQ(text.kind, DrawnBox::Kind::Text);
    EXPECT_EQ(text.label, "Escape 02:15");
    EXPECT_NEAR(text.left, ink.left, 1.0f);
    EXPECT_NEAR(text.top, ink.top, 1.0f);
    EXPECT_NEAR(text.right, ink.right + 1, 1.0f);
    EXPECT_NEAR(text.bottom, ink.bottom + 1, 1.0f);
    auto corners = [](const DrawnBox& b) { return std::vector{b.left, b.top, b.right, b.bottom}; };
    EXPECT_EQ(boxes[1].element, "wanted stars");
    EXPECT_EQ(boxes[1].label, "tarvel_iii/star");
    EXPECT_EQ(corners(boxes[1]), (std::vector<float>{210, 20, 250, 60}));
    EXPECT_TRUE(boxes[1].mirrored) << "its left edge given right of its right one";
    EXPECT_FALSE(boxes[1].upsideDown);
    EXPECT_EQ(corners(boxes[2]), (std::vector<float>{0, 70, 15, 95}));
    EXPECT_EQ(boxes[3].kind, DrawnBox::Kind::Rectangle);
    EXPECT_EQ(corners(boxes[3]), (std::vector<float>{0, 0, 4, 10}));
    for (size_t i = 0; i < 4; ++i)
        EXPECT_EQ(boxes[i].unseen, "") << i;
    EXPECT_EQ(boxes[4].unseen, "is fully transparent");
    EXPECT_EQ(boxes[5].label, "gone");
    EXPECT_EQ(boxes[5].unseen, "is fully transparent");
}
