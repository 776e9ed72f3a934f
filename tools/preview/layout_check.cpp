// The rules of the layout check, all of them here:
//
// 1. Text over text: the ink of two texts meets, unless both belong to one element and one text
//    is part of the other (a shadow or an outline, or a part printed again in its own colour).
// 2. Off the screen: a text or a sprite lies partly or entirely outside the screen. The phone's
//    picture rises from below the lower edge, so it may reach past that edge.
// 3. Out of its sprite: a text is printed on the sprites and rectangles drawn before it whose
//    visible pixels lie under its centre, and must lie wholly inside one of them (the pager's
//    message on the pager, the timers and the clock on the phone). The crosshair and the scopes
//    carry no text.
// 4. Too small: a sprite or rectangle less than 16 pixels across its longer side.
//
// What is drawn after a text and over it (a wheel over the HUD) is on purpose. Boxes meet when
// they share at least a whole pixel both ways. A problem is reported once a capture: a text and
// its shadow, or the stars of one row, make one finding.
#include "tools/preview/layout_check.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string_view>

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

bool isText(const DrawnBox& b) {
    return b.kind == DrawnBox::Kind::Text;
}

// The keys of the layout file that place and size what an element draws. The money and ammo
// panels are one element with a part each; the money's text is the one with a dollar sign.
struct ElementKeys {
    const char* element;
    const char* part; // the name shown for the element; null: the element's own
    bool (*isPart)(const DrawnBox& box);
    const char* keys;
};

bool anyBox(const DrawnBox&) {
    return true;
}
bool moneyText(const DrawnBox& box) {
    return isText(box) && box.label.find('$') != std::string::npos;
}

constexpr ElementKeys elementKeys[] = {
    {"money and ammo", "money", moneyText, "MONEY_POS_TOP, MONEY_POS_RIGHT, MONEY_SCALE"},
    {"money and ammo", "ammo", anyBox, "WEAPON_AMMO_POS_TOP, WEAPON_AMMO_POS_RIGHT, AMMO_SCALE"},
    {"radar", nullptr, anyBox,
     "OUTER_RADAR_SCALE_A, OUTER_RADAR_SCALE_B, BAR_HEALTH_POS_X_Y, BAR_ARMOR_POS_X_Y, "
     "BAR_THICKNESS, BAR_LENGTH_MULTIPLIER"},
    {"area and vehicle names", nullptr, anyBox,
     "ZONE_BOTTOM, ZONE_RIGHT, VEHICLE_BOTTOM, VEHICLE_RIGHT, BIGTEXT_SCALE"},
    {"mission timers", nullptr, anyBox,
     "MISSIONTIMERS_POS_BOTTOM, MISSIONTIMERS_POS_RIGHT, MISSIONTIMERS_SCALE, "
     "MISSIONTIMERS_TIMER_GAP, MISSIONDESCTIMERAB_GAP"},
    {"pager", nullptr, anyBox, "SUBTEXT_SCALE"},
    {"wanted stars", nullptr, anyBox,
     "WANTED_POS_TOP, WANTED_POS_RIGHT, WANTED_STAR_SCALE, WANTED_STAR_SPACE"},
    {"weapon wheel", nullptr, anyBox, "WEAP_WHEEL_SCALE_MULTIPLIER"},
    {"radio wheel", nullptr, anyBox, "RADIO_WHEEL_SCALE"},
    {"subtitles", nullptr, anyBox,
     "SUBTITLE_BOTTOM, SUBTITLE_OFFSET_L, SUBTITLE_OFFSET_R, SUBTEXT_SCALE"},
    {"big messages", nullptr, anyBox, "MISSION_BUSTED_WASTED_SCALE, WASTED_BUSTED_OFFSET"},
    {"help box", nullptr, anyBox, "TEXT_BOX_WIDTH, TEXT_BOX_TEXT_SCALE"},
    {"odd-job messages", nullptr, anyBox,
     "ODDJOB_CENTRE, ODDJOB_RESULT_CENTRE, BIGTEXT_SCALE, HUD_SCALE"},
    {"mission title", nullptr, anyBox, "MISSION_BOTTOM, MISSION_RIGHT, BIGTEXT_SCALE"},
    {"phone", nullptr, anyBox, "CLOCK_RIGHT, CLOCK_BOTTOM, CLOCK_SCALE"},
};

const ElementKeys* keysOf(const DrawnBox& box) {
    for (const auto& entry : elementKeys)
        if (box.element == entry.element && entry.isPart(box)) return &entry;
    return nullptr;
}

std::string elementName(const DrawnBox& box) {
    const ElementKeys* keys = keysOf(box);
    if (keys && keys->part) return keys->part;
    return box.element.empty() ? "(no element)" : box.element;
}

std::string corners(const DrawnBox& box) {
    char text[96];
    std::snprintf(text, sizeof text, "(%.0f,%.0f)-(%.0f,%.0f)", box.left, box.top, box.right,
                  box.bottom);
    return text;
}

// The element, the kind and the label: what stays the same from capture to capture.
std::string named(const DrawnBox& box) {
    const std::string label =
        box.label.empty() ? "" : (isText(box) ? " \"" + box.label + "\"" : " " + box.label);
    return elementName(box) + " " + kindName(box.kind) + label;
}

// "money: MONEY_POS_TOP, ...; pager: SUBTEXT_SCALE" for the boxes, each element once.
std::string keysFor(const std::vector<const DrawnBox*>& boxes) {
    std::string keys;
    std::vector<const ElementKeys*> seen;
    for (const DrawnBox* box : boxes) {
        const ElementKeys* entry = keysOf(*box);
        if (!entry || std::find(seen.begin(), seen.end(), entry) != seen.end()) continue;
        seen.push_back(entry);
        keys += (keys.empty() ? "" : "; ") + elementName(*box) + ": " + entry->keys;
    }
    return keys;
}

// Reports a problem of the box at index subject, about the boxes, unless the capture already
// has it. problem is what follows the box's name; rule names the problem without its detail.
// A text's shadow is the text once more; the sprites of one element (a wheel's ring and
// segments, a row of stars) share what is wrong with them.
void report(CaptureLayout& layout, std::vector<size_t> boxes, size_t subject,
            const std::string& problem, const DrawnBox* other = nullptr,
            const std::string& rule = "") {
    const DrawnBox& box = layout.boxes[subject];
    std::string same = (isText(box) ? named(box) : elementName(box) + " " + kindName(box.kind)) +
                       " " + (rule.empty() ? problem : rule);
    std::string message = describe(box) + " " + problem;
    if (other) {
        same += " " + named(*other);
        message += " " + describe(*other);
    }
    for (const auto& finding : layout.findings)
        if (finding.problem == same) return;
    const std::string keys = other ? keysFor({&box, other}) : keysFor({&box});
    layout.findings.push_back({std::move(message), std::move(same), keys, std::move(boxes)});
}

} // namespace

std::vector<std::string> placingKeys() {
    std::vector<std::string> keys;
    for (const auto& entry : elementKeys) {
        const std::string_view list = entry.keys;
        for (size_t begin = 0; begin < list.size();) {
            const size_t end = std::min(list.find(", ", begin), list.size());
            keys.emplace_back(list.substr(begin, end - begin));
            begin = end + 2;
        }
    }
    return keys;
}

std::string describe(const DrawnBox& box) {
    return named(box) + " " + corners(box);
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
                    report(layout, {i, j}, j, "is over", &box);
            }
            const float centreX = (box.left + box.right) / 2, centreY = (box.top + box.bottom) / 2;
            std::vector<size_t> printedOn;
            bool onOne = false;
            for (size_t j = 0; j < i; ++j) {
                const DrawnBox& sprite = boxes[j];
                if (isText(sprite) || sprite.element == "crosshair" ||
                    !showsAt(sprite, centreX, centreY))
                    continue;
                printedOn.push_back(j);
                onOne = onOne || inside(box, sprite);
            }
            if (!printedOn.empty() && !onOne) {
                printedOn.insert(printedOn.begin(), i);
                report(layout, printedOn, i, "runs out of", &boxes[printedOn[1]]);
            }
        } else if (std::max(width(box), height(box)) < smallestSprite) {
            report(layout, {i}, i,
                   "is less than " + std::to_string(int(smallestSprite)) + " pixels across");
        }
        DrawnBox allowed = screen;
        if (box.element == "phone" && box.kind == DrawnBox::Kind::Sprite) allowed.bottom = INFINITY;
        if (box.kind == DrawnBox::Kind::Rectangle || inside(box, allowed)) continue;
        report(layout, {i}, i,
               meet(box, screen) ? "is partly outside the screen" : "is entirely off the screen",
               nullptr, "off the screen");
    }
}

} // namespace preview
