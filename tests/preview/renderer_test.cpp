// The preview's drawing on small synthetic frames.
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

// Covered pixels, one character each, for a readable comparison.
std::string coverage(const Image& image, Rgba8 colour) {
    std::string rows;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x)
            rows += image.at(x, y) == colour ? '#' : '.';
        rows += '\n';
    }
    return rows;
}

// Two by two: red top-left, green top-right, blue bottom-left, white bottom-right.
Image corners() {
    Image image(2, 2);
    image.set(0, 0, red);
    image.set(1, 0, green);
    image.set(0, 1, blue);
    image.set(1, 1, white);
    return image;
}

std::string nameOf(Rgba8 c) {
    return c == red     ? "red"
           : c == green ? "green"
           : c == blue  ? "blue"
           : c == white ? "white"
                        : "?";
}

// The colours in the four corners of an image: "top-left top-right / bottom-left bottom-right".
std::string cornerColours(const Image& image) {
    const int r = image.width - 1, b = image.height - 1;
    return nameOf(image.at(0, 0)) + " " + nameOf(image.at(r, 0)) + " / " + nameOf(image.at(0, b)) +
           " " + nameOf(image.at(r, b));
}

} // namespace

TEST(Rectangles, CoverExactlyThePixelsWhoseCentresLieInside) {
    Image canvas(8, 6, black);
    fillRect(canvas, 2, 1, 6, 4, red);
    EXPECT_EQ(coverage(canvas, red), "........\n"
                                     "..####..\n"
                                     "..####..\n"
                                     "..####..\n"
                                     "........\n"
                                     "........\n");
    // Edges in any order; centres at 1.5 and 2.5 lie in [1.4, 3.5), 1.5 to 3.5 in [1.4, 3.6).
    Image other(8, 6, black);
    fillRect(other, 3.5f, 3.6f, 1.4f, 1.4f, red);
    EXPECT_EQ(coverage(other, red), "........\n"
                                    ".##.....\n"
                                    ".##.....\n"
                                    ".##.....\n"
                                    "........\n"
                                    "........\n");
}

TEST(Rectangles, StayInsideTheCanvasAndIgnoreNonFiniteEdges) {
    Image canvas(4, 4, black);
    fillRect(canvas, -10, -10, 2, 100, red);
    EXPECT_EQ(coverage(canvas, red), "##..\n##..\n##..\n##..\n");
    Image untouched(4, 4, black);
    fillRect(untouched, NAN, 0, 4, 4, red);
    fillRect(untouched, 0, 0, INFINITY, 4, red);
    EXPECT_EQ(coverage(untouched, red), "....\n....\n....\n....\n");
}

TEST(Blending, LaysAColourOverWhatIsThereByItsAlpha) {
    Image canvas(1, 1, blue);
    fillRect(canvas, 0, 0, 1, 1, {255, 0, 0, 128});
    // 128/255 of red over blue: red 255 * 0.502 = 128, blue 255 * 0.498 = 127.
    EXPECT_EQ(canvas.at(0, 0), (Rgba8{128, 0, 127, 255}));
    fillRect(canvas, 0, 0, 1, 1, {0, 255, 0, 0});
    EXPECT_EQ(canvas.at(0, 0), (Rgba8{128, 0, 127, 255})) << "alpha 0 leaves the pixel";
}

TEST(Sprites, TintMultipliesTheImageAndItsAlphaBlends) {
    Image canvas(4, 4, black);
    Image whiteImage(1, 1, white);
    drawImage(canvas, whiteImage, 0, 4, 4, 0, {200, 100, 50, 255});
    EXPECT_EQ(canvas.at(2, 2), (Rgba8{200, 100, 50, 255}));
    Image half(4, 4, black);
    drawImage(half, whiteImage, 0, 4, 4, 0, {255, 255, 255, 51});
    // 51/255 = 0.2 of white over black.
    EXPECT_EQ(half.at(1, 1), (Rgba8{51, 51, 51, 255}));
}

TEST(Sprites, RectangleMapsTheImageLeftToLeftAndTopToTop) {
    Image canvas(8, 8, black);
    drawImage(canvas, corners(), 0, 8, 8, 0, white);
    EXPECT_EQ(cornerColours(canvas), "red green / blue white");
}

TEST(Sprites, RectangleWithLeftGreaterThanRightIsMirrored) {
    Image canvas(8, 8, black);
    drawImage(canvas, corners(), 8, 8, 0, 0, white);
    EXPECT_EQ(cornerColours(canvas), "green red / white blue");
    // Bottom above top: mirrored upside down.
    Image flipped(8, 8, black);
    drawImage(flipped, corners(), 0, 0, 8, 8, white);
    EXPECT_EQ(cornerColours(flipped), "blue white / red green");
}

// Corners in the game's order: the image's bottom-left, bottom-right, top-left, top-right.
TEST(Quads, MapTheImageThroughTheirCornersMirroredOrTurned) {
    const struct {
        const char* what;
        Quad quad;
        const char* seen; // top-left top-right / bottom-left bottom-right of the screen
    } cases[] = {
        {"upright", {Point{0, 8}, Point{8, 8}, Point{0, 0}, Point{8, 0}}, "red green / blue white"},
        {"left greater than right: mirrored",
         {Point{8, 8}, Point{0, 8}, Point{8, 0}, Point{0, 0}},
         "green red / white blue"},
        {"bottom above top: upside down",
         {Point{0, 0}, Point{8, 0}, Point{0, 8}, Point{8, 8}},
         "blue white / red green"},
        // The wheel's square at angle 0: the image's bottom edge runs up the screen's right
        // side, a quarter turn anticlockwise.
        {"turned", {Point{8, 8}, Point{8, 0}, Point{0, 8}, Point{0, 0}}, "green white / red blue"},
    };
    for (const auto& c : cases) {
        Image canvas(8, 8, black);
        drawImageQuad(canvas, corners(), c.quad, white);
        EXPECT_EQ(cornerColours(canvas), c.seen) << c.what;
    }
}

TEST(Quads, CoverTheSamePixelsAsTheRectangleThroughTheirCorners) {
    Image viaQuad(10, 10, black), viaRect(10, 10, black);
    fillQuad(viaQuad, {Point{2, 7}, Point{6, 7}, Point{2, 3}, Point{6, 3}}, red);
    fillRect(viaRect, 2, 3, 6, 7, red);
    EXPECT_EQ(coverage(viaQuad, red), coverage(viaRect, red));
}

TEST(Quads, WithoutAreaOrWithNonFiniteCornersCoverNothing) {
    Image canvas(6, 6, black);
    fillQuad(canvas, {Point{3, 3}, Point{3, 3}, Point{3, 3}, Point{3, 3}}, red);
    fillQuad(canvas, {Point{0, 6}, Point{6, 6}, Point{0, 0}, Point{NAN, 0}}, red);
    EXPECT_EQ(colourBox(canvas, red, 0).empty(), true);
}

TEST(Quads, BilinearCoordinatesOfATurnedSquare) {
    // The square (0,0)..(10,10) turned a quarter: the image's top-left is at screen (0, 10).
    const Quad q{Point{10, 10}, Point{10, 0}, Point{0, 10}, Point{0, 0}};
    float u = -1, v = -1;
    ASSERT_TRUE(quadCoordinates(q, {2.5f, 7.5f}, u, v));
    // Screen y runs with the image's u upwards from 10, screen x with v: u = (10-7.5)/10.
    EXPECT_FLOAT_EQ(u, 0.25f);
    EXPECT_FLOAT_EQ(v, 0.25f);
    EXPECT_FALSE(quadCoordinates(q, {11, 5}, u, v));
}

TEST(MissingTextures, LeaveAThinOutlineWhereTheSpriteWouldBe) {
    TextPainter painter(preview_testing::fonts());
    Image canvas(40, 30, black);
    drawMissingTexture(canvas, painter, {Point{5, 25}, Point{35, 25}, Point{5, 5}, Point{35, 5}},
                       "x");
    const Box box = inkBox(canvas, black);
    EXPECT_EQ(box.left, 5);
    EXPECT_EQ(box.top, 5);
    EXPECT_EQ(box.right, 34);
    EXPECT_EQ(box.bottom, 24);
    EXPECT_EQ(canvas.at(20, 15), black) << "the inside stays clear apart from the label";
}

TEST(MissingTextures, NamesStayOnTheScreenAndClearOfOneAnother) {
    TextPainter painter(preview_testing::fonts());
    Image canvas(200, 120, black);
    std::vector<TextPainter::Box> labels;
    // Two sprites at one place, reaching past the right edge: a row of stars, say.
    const Quad pastTheEdge{Point{180, 40}, Point{260, 40}, Point{180, 10}, Point{260, 10}};
    drawMissingTexture(canvas, painter, pastTheEdge, "tarvel_iii/star", &labels);
    drawMissingTexture(canvas, painter, pastTheEdge, "tarvel_iii/star", &labels);
    const auto inkIn = [&](int x0, int y0, int x1, int y1) {
        int count = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                count += canvas.at(x, y).r > 100 && canvas.at(x, y).b > 100;
        return count;
    };
    const int line = static_cast<int>(lineHeightAtScale1 * 0.5f * 0.7f);
    EXPECT_GT(inkIn(0, 10, 178, 12 + line), 20) << "the first name moved left onto the screen";
    EXPECT_GT(inkIn(0, 12 + line, 178, 12 + 2 * line + 2), 20) << "the second one below it";
}
