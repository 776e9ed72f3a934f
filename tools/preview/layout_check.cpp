// The rules of the layout check, all of them here:
//
// 1. Text over text: the ink of two texts meets, unless both belong to one element and one text
//    is part of the other (a shadow or an outline, or a part printed again in its own colour).
// 2. Off the screen: a text or a sprite lies partly outside the screen. The phone's picture
//    rises from below the lower edge, so it may reach past that edge.
// 3. Out of its sprite: a text is printed on the sprites and rectangles drawn before it that lie
//    under its centre, and must lie wholly inside one of them (the pager's message on the pager,
//    the timers and the clock on the phone). The crosshair and the scopes carry no text.
// 4. Too small: a sprite or rectangle less than 16 pixels across its longer side.
//
// What is drawn after a text and over it (a wheel over the HUD) is on purpose. Boxes meet when
// they share at least a whole pixel both ways.
#include "tools/preview/layout_check.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace preview {

namespace {

constexpr float slack = 0.5f; // pixels a box may reach past another before it counts

float width(const DrawnBox& b) {
    return b.right - b.left;
}
float height(const DrawnBox& b) {
    return b.bottom - b.top;
}

bool meet(const DrawnBox& a, const DrawnBox& b) {
    return std::min(a.right, b.right) - std::max(a.left, b.left) >= 1.0f &&
           std::min(a.bottom, b.bottom) - std::max(a.top, b.top) >= 1.0f;
}

bool inside(const DrawnBox& inner, const DrawnBox& outer) {
    return inner.left >= outer.left - slack && inner.top >= outer.top - slack &&
           inner.right <= outer.right + slack && inner.bottom <= outer.bottom + slack;
}

bool under(const DrawnBox& point, const DrawnBox& b) {
    return point.left >= b.left && point.left <= b.right && point.top >= b.top &&
           point.top <= b.bottom;
}

bool isText(const DrawnBox& b) {
    return b.kind == DrawnBox::Kind::Text;
}

void report(CaptureLayout& layout, std::vector<size_t> boxes, std::string message) {
    layout.findings.push_back({std::move(message), std::move(boxes)});
}

} // namespace

std::string describe(const DrawnBox& box) {
    char corners[96];
    std::snprintf(corners, sizeof corners, "(%.0f,%.0f)-(%.0f,%.0f)", box.left, box.top, box.right,
                  box.bottom);
    const std::string element = box.element.empty() ? "(no element)" : box.element;
    const std::string label =
        box.label.empty() ? "" : (isText(box) ? " \"" + box.label + "\"" : " " + box.label);
    return element + " " + kindName(box.kind) + label + " " + corners;
}

void checkLayout(CaptureLayout& layout) {
    const auto& boxes = layout.boxes;
    DrawnBox screen;
    screen.right = static_cast<float>(layout.width);
    screen.bottom = static_cast<float>(layout.height);
    for (size_t i = 0; i < boxes.size(); ++i) {
        const DrawnBox& box = boxes[i];
        if (isText(box)) {
            for (size_t j = i + 1; j < boxes.size(); ++j) {
                const DrawnBox& other = boxes[j];
                const bool part = other.element == box.element &&
                                  (other.label.find(box.label) != std::string::npos ||
                                   box.label.find(other.label) != std::string::npos);
                if (isText(other) && !part && meet(box, other))
                    report(layout, {i, j}, describe(other) + " is over " + describe(box));
            }
            const DrawnBox centre{box.element,
                                  box.kind,
                                  (box.left + box.right) / 2,
                                  (box.top + box.bottom) / 2,
                                  (box.left + box.right) / 2,
                                  (box.top + box.bottom) / 2,
                                  {}};
            std::vector<size_t> printedOn;
            bool onOne = false;
            for (size_t j = 0; j < i; ++j) {
                const DrawnBox& sprite = boxes[j];
                if (isText(sprite) || sprite.element == "crosshair" || !under(centre, sprite))
                    continue;
                printedOn.push_back(j);
                onOne = onOne || inside(box, sprite);
            }
            if (!printedOn.empty() && !onOne) {
                printedOn.insert(printedOn.begin(), i);
                report(layout, printedOn,
                       describe(box) + " runs out of " + describe(boxes[printedOn[1]]));
            }
        } else if (std::max(width(box), height(box)) < smallestSprite) {
            report(layout, {i},
                   describe(box) + " is less than " + std::to_string(int(smallestSprite)) +
                       " pixels across");
        }
        DrawnBox allowed = screen;
        if (box.element == "phone" && box.kind == DrawnBox::Kind::Sprite) allowed.bottom = INFINITY;
        if (box.kind != DrawnBox::Kind::Rectangle && meet(box, screen) && !inside(box, allowed))
            report(layout, {i}, describe(box) + " is partly outside the screen");
    }
}

} // namespace preview
