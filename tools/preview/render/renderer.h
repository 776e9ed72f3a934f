#pragma once
// What the preview draws with: an RGBA image, sprites into rectangles and onto quadrilaterals,
// plain rectangles, and text laid out by the game's text state with a real typeface.
// Portable C++: the same code runs in the Windows preview and in its tests.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct stbtt_fontinfo;

namespace preview {

struct Rgba8 {
    uint8_t r = 0, g = 0, b = 0, a = 0;
    bool operator==(const Rgba8&) const = default;
};

// Rows top to bottom, four bytes a pixel.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;

    Image() = default;
    Image(int w, int h, Rgba8 fill = {});
    bool empty() const { return width <= 0 || height <= 0; }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    Rgba8 at(int x, int y) const;
    void set(int x, int y, Rgba8 colour);
};

struct Point {
    float x = 0;
    float y = 0;
};

// Source-over: colour, with its alpha, laid over the pixel; outside the image nothing happens.
void blend(Image& canvas, int x, int y, Rgba8 colour);

// A pixel is covered when its centre lies inside both spans; the edges may come in any order.
void fillRect(Image& canvas, float x0, float y0, float x1, float y1, Rgba8 colour);
void strokeRect(Image& canvas, float x0, float y0, float x1, float y1, float thickness,
                Rgba8 colour);

// The game's rectangle order: left, bottom, right, top. The image's left column goes to the
// left value and its top row to the top value, so left > right or bottom < top mirrors it.
void drawImage(Image& canvas, const Image& source, float left, float bottom, float right, float top,
               Rgba8 tint);

// The game's corner order for quadrilaterals: the image's bottom-left, bottom-right, top-left
// and top-right corner. The image is mapped bilinearly through the four points.
using Quad = std::array<Point, 4>;
void drawImageQuad(Image& canvas, const Image& source, const Quad& corners, Rgba8 tint);
void fillQuad(Image& canvas, const Quad& corners, Rgba8 colour);
// The tinted image added to the pixels, as a glow.
void addImageQuad(Image& canvas, const Image& source, const Quad& corners, Rgba8 tint);

// Where a screen point falls in the quad's image (u right, v down, both 0..1), or false.
bool quadCoordinates(const Quad& corners, Point p, float& u, float& v);
// Whether the image drawn onto the quad shows anything at the screen point.
bool showsAt(const Image& source, const Quad& corners, Point p);

// One TrueType face from a file.
class Typeface {
  public:
    bool load(const std::string& path);
    bool loaded() const { return info_ != nullptr; }
    const stbtt_fontinfo* info() const { return info_.get(); }

  private:
    std::vector<unsigned char> data_;
    std::shared_ptr<stbtt_fontinfo> info_;
};

// The game's three fonts, each drawn with a face of its own; unknown numbers use font 0.
struct Fonts {
    Typeface faces[3];
    const Typeface& face(int font) const;
    // Loads the three faces from a folder; false when one is missing.
    bool load(const std::string& folder);
};
// The file of each font number's face (0: sans, 1: mono, 2: condensed bold).
const char* faceFile(int font);

enum class Align { Left, Centre, Right };

// The game's global text state, as the text routines leave it.
struct TextState {
    float scaleX = 1.0f;
    float scaleY = 1.0f;
    Rgba8 colour{255, 255, 255, 255};
    float alpha = 255.0f; // fades text and shadow
    int font = 0;
    Align align = Align::Left;
    float wrapX = 0.0f;       // left-aligned lines end at this x (none when not right of x)
    float centreWidth = 0.0f; // centred lines are at most this wide (none when 0)
    float rightWrapX = 0.0f;  // right-aligned lines begin at this x at the furthest
    bool background = false;
    bool backgroundHugsText = false; // else a left-aligned box reaches the wrap x
    Rgba8 backgroundColour{0, 0, 0, 128};
    int shadowOffset = 0; // in layout units, 0 for none
    Rgba8 shadowColour{0, 0, 0, 255};
};

// Pixel height of one line of text at scale 1.
constexpr float lineHeightAtScale1 = 24.0f;

struct TextLine {
    std::u16string text;
    float left = 0;  // pixels
    float width = 0; // pixels, advance of the whole line
};
struct TextLayout {
    std::vector<TextLine> lines;
    float lineHeight = 0;
};

class TextPainter {
  public:
    explicit TextPainter(const Fonts& fonts) : fonts_(fonts) {}
    // Lines as the state breaks and places them, for text whose anchor is (x, ...).
    TextLayout layout(const TextState& state, float x, std::u16string_view text) const;
    // Background, drop shadow, then the text; y is the top of the first line.
    void print(Image& canvas, const TextState& state, float x, float y,
               std::u16string_view text) const;
    float width(const TextState& state, std::u16string_view text) const;
    // The box around the ink of every glyph as print would draw them, shadow and background
    // left out; false when nothing would be inked.
    struct Box {
        float left = 0, top = 0, right = 0, bottom = 0;
    };
    bool inkBox(const TextState& state, float x, float y, std::u16string_view text, Box& box) const;
    // The characters of the text the state's face has no glyph for, each once, in text order:
    // print draws each as an empty box.
    std::u16string undrawable(const TextState& state, std::u16string_view text) const;

  private:
    void drawLine(Image& canvas, const TextState& state, float left, float top,
                  std::u16string_view text, Rgba8 colour) const;
    const Fonts& fonts_;
};

// A thin outline with the texture's name in it, where a texture is missing. The name stays
// inside the screen; given the labels drawn before, it goes below them rather than over them,
// or is left out when no room is left, and is added to them.
void drawMissingTexture(Image& canvas, const TextPainter& text, const Quad& corners,
                        const std::string& label, std::vector<TextPainter::Box>* labels = nullptr);

// The game's layout units on a canvas of this size: a 640-wide 4:3 screen and a 448-high one.
float unitX(const Image& canvas, float v);
float unitY(const Image& canvas, float v);

} // namespace preview
