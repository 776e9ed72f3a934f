#pragma once
// The layout check: what in one capture is drawn over, off or out of something it should not be.
#include "tools/preview/render/capture_layout.h"

#include <string>
#include <vector>

namespace preview {

// Sprites and rectangles narrower than this in both directions are reported as too small.
constexpr float smallestSprite = 16.0f;

// Fills layout.findings from layout.boxes.
void checkLayout(CaptureLayout& layout);

// Every layout key a finding may name as placing or sizing an element.
std::vector<std::string> placingKeys();

// The part of an element a box belongs to, as the findings name it ("money", "radar bars"), and
// the keys that place and size it and those that colour it: none when no key moves it.
struct BoxKeys {
    std::string name;
    std::vector<std::string> placing;
    std::vector<std::string> colours;
    // The element whose parts are drawn relative to one another and move together; "" alone.
    std::string group;
};
BoxKeys keysOfBox(const DrawnBox& box);

// The box round what shows of a sprite (its see-through margins left out, to the cells of its
// cover); the box itself for anything else.
DrawnBox inkOf(const DrawnBox& box);

// "pager text \"Meet me\" (1500,80)-(1700,110)"
std::string describe(const DrawnBox& box);

} // namespace preview
