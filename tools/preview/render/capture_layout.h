#pragma once
// What the HUD drew in one capture, box by box and element by element, and what the layout
// check found wrong with it. The preview's check, its --check report and its page share these.
#include <cstddef>
#include <string>
#include <vector>

namespace preview {

// One thing drawn, in screen pixels (right and bottom exclusive), and the HUD element that drew it.
struct DrawnBox {
    enum class Kind { Text, Sprite, Rectangle };
    std::string element; // "radar frame", "pager", "weapon wheel", ...
    Kind kind = Kind::Sprite;
    float left = 0, top = 0, right = 0, bottom = 0;
    std::string label; // the text printed, or the texture as "dictionary/name"
    // Which parts of a sprite's box show its texture: a grid of cells over the box, row by row,
    // coverColumns wide; a see-through corner is not the sprite's. Empty: the whole box shows.
    std::vector<bool> cover;
    int coverColumns = 0;
    // Why no pixel of it is drawn wherever it lies ("is fully transparent", "has no width"), or
    // "" when it is drawn; whether it is on the screen the box tells.
    std::string unseen;
    bool mirrored = false; // a sprite drawn right to left
    bool upsideDown = false;
    // The sides of the texture a sprite that shows is drawn from, as its dictionary holds
    // them; 0 without one.
    int textureWidth = 0, textureHeight = 0;
    // The characters of a text its face has no glyph for, as UTF-8: each is drawn as a box.
    std::string undrawable;
};

// Whether the box shows at the screen point (x, y): inside it, and not on a see-through cell.
inline bool showsAt(const DrawnBox& box, float x, float y) {
    if (x < box.left || x > box.right || y < box.top || y > box.bottom) return false;
    if (box.cover.empty() || box.coverColumns <= 0) return true;
    const int rows = static_cast<int>(box.cover.size()) / box.coverColumns;
    const auto cell = [](float at, float from, float to, int cells) {
        const int i = to > from ? static_cast<int>((at - from) / (to - from) * float(cells)) : 0;
        return i < 0 ? 0 : (i >= cells ? cells - 1 : i);
    };
    return box.cover[size_t(cell(y, box.top, box.bottom, rows) * box.coverColumns +
                            cell(x, box.left, box.right, box.coverColumns))];
}

// "text", "sprite" or "rectangle", as reports and the page name a box's kind.
inline const char* kindName(DrawnBox::Kind kind) {
    switch (kind) {
    case DrawnBox::Kind::Text:
        return "text";
    case DrawnBox::Kind::Rectangle:
        return "rectangle";
    case DrawnBox::Kind::Sprite:
        break;
    }
    return "sprite";
}

struct LayoutFinding {
    std::string message;       // one line that names the elements and their rectangles
    std::string problem;       // the message without rectangles: the same in every capture
    std::string keys;          // the INI keys that place and size the elements it names
    std::vector<size_t> boxes; // the boxes it is about, as indices into CaptureLayout::boxes
};

// A capture's screen size as the frames' names and the reports write it: "1280x720".
inline std::string sizeName(int width, int height) {
    return std::to_string(width) + "x" + std::to_string(height);
}

struct CaptureLayout {
    std::string capture; // the capture's name in the scenario
    int width = 0, height = 0;
    std::vector<DrawnBox> boxes;
    std::vector<LayoutFinding> findings;
};

} // namespace preview
