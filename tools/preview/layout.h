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
};

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
    std::vector<size_t> boxes; // the boxes it is about, as indices into CaptureLayout::boxes
};

struct CaptureLayout {
    std::string capture; // the capture's name in the scenario
    int width = 0, height = 0;
    std::vector<DrawnBox> boxes;
    std::vector<LayoutFinding> findings;
};

} // namespace preview
