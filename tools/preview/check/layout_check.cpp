// The rules of the layout check, all of them here:
//
// 1. Gone: no pixel of a text or sprite shows: it is fully transparent, has no width or height,
//    is too large to draw or lies entirely off the screen; or a solid rectangle lies wholly on
//    one of its own colour. The phone's picture rises from below the lower edge, so it may lie
//    past that edge.
// 2. Off the screen: some of its pixels lie outside the screen.
// 3. Mirrored: a sprite drawn right to left or upside down, unless its element draws the same
//    picture the right way round too (a scope of four mirrored quarters).
// 4. Text over text: the ink of two texts meets, unless both belong to one element and one text
//    is part of the other (a shadow or an outline, or a part printed again in its own colour).
// 5. Covered: over 80 % of what shows of a text or sprite lies under another element's sprite
//    or rectangle drawn after it (a text so covered is covered, whatever text meets it), or
//    on one drawn before that is not the panel it belongs on; a sprite under a text too. The
//    wheels and the scopes cover the HUD on purpose, and everything may lie on the crosshair.
// 6. Out of its panel: a text is printed on the sprites and rectangles drawn before it whose
//    visible pixels lie under its centre, or its own element's that it meets, and must lie
//    wholly inside one of them: the pager's message inside the pager's screen, the timers and
//    the clock inside the phone's.
// 7. Too small: a sprite or rectangle less than 16 pixels across its longer side.
// 8. A texture the game cannot use: a sprite drawn from one whose sides are no powers of two up
//    to 1024, as `texdict check` says it, once a texture with every sprite drawn from it.
// 9. Characters that cannot be drawn: a text holds characters its font has no glyph for.
// 10. Apart: parts the HUD draws as one thing, placed by keys of their own, no longer meet: a
//    background of the mission timers with none of their text on it, a health or armour bar
//    away from the radar's frame.
//
// Boxes meet when they share at least a whole pixel both ways. A problem is reported once a
// capture: a text and its shadow, the stars of one row, the pieces of two elements that clash.
#include "tools/preview/check/layout_check.h"

#include "texdict/hud_check.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string_view>

namespace preview {

namespace {

constexpr float slack = 0.5f;        // pixels a box may reach past another before it counts
constexpr float farOff = 100000.0f;  // pixels beyond which a position is just far off screen
constexpr float coveredShare = 0.8f; // of what shows of a box, under another element
constexpr int coverSamples = 24;     // each way, over what shows of a box

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

// The pixels a span covers, as the renderer fills them: those whose centres lie in it.
void pixelSpan(float from, float to, int& first, int& end) {
    const auto pixel = [](float at) {
        return static_cast<int>(std::clamp(std::ceil(at - 0.5f), -2.0e9f, 2.0e9f));
    };
    first = pixel(from);
    end = pixel(to);
}

// Whether any pixel of the box lies on a screen of this size.
bool onScreen(const DrawnBox& box, int screenWidth, int screenHeight) {
    int left, right, top, bottom;
    pixelSpan(box.left, box.right, left, right);
    pixelSpan(box.top, box.bottom, top, bottom);
    return std::min(right, screenWidth) > std::max(left, 0) &&
           std::min(bottom, screenHeight) > std::max(top, 0);
}

// The keys of the layout file that place and size what an element draws, and of the colour
// files that colour it, part by part: only keys that change that part. The money and ammo panels
// are one element with a part each; the money's text is the one with a dollar sign. A part with
// no keys is drawn where the HUD puts it, whatever the files say.
struct ElementKeys {
    const char* element;
    const char* part; // the name shown for the element; null: the element's own
    bool (*isPart)(const DrawnBox& box);
    const char* keys;
    const char* colours;
    const char* keyed = nullptr; // the name the keys are listed under; null: the shown name
    // Drawn by the HUD where another part of its element is: the parts move together.
    bool together = false;
};

bool anyBox(const DrawnBox&) {
    return true;
}
bool textBox(const DrawnBox& box) {
    return isText(box);
}
bool spriteBox(const DrawnBox& box) {
    return box.kind == DrawnBox::Kind::Sprite;
}
bool moneyText(const DrawnBox& box) {
    return isText(box) && box.label.find('$') != std::string::npos;
}
bool barSprite(const DrawnBox& box) {
    return spriteBox(box) && box.label == "tarvel_iii/bar";
}

constexpr ElementKeys elementKeys[] = {
    {"money and ammo", "money", moneyText, "MONEY_POS_TOP, MONEY_POS_RIGHT, MONEY_SCALE",
     "MONEY_COLOR"},
    {"money and ammo", "ammo", anyBox, "WEAPON_AMMO_POS_TOP, WEAPON_AMMO_POS_RIGHT, AMMO_SCALE",
     "AMMO_COLOR, AMMO_CLIP_COLOR"},
    {"radar", nullptr, barSprite,
     "BAR_HEALTH_POS_X_Y, BAR_ARMOR_POS_X_Y, BAR_THICKNESS, BAR_LENGTH_MULTIPLIER",
     "RADAR_HEALTH_COLOR, RADAR_ARMOR_COLOR", "radar bars", true},
    {"radar", nullptr, anyBox, "OUTER_RADAR_SCALE_A, OUTER_RADAR_SCALE_B", "", "radar frame", true},
    {"area and vehicle names", nullptr, anyBox,
     "ZONE_BOTTOM, ZONE_RIGHT, VEHICLE_BOTTOM, VEHICLE_RIGHT, BIGTEXT_SCALE",
     "ZONE_COLOR, VEHICLE_COLOR"},
    {"mission timers", nullptr, textBox,
     "MISSIONTIMERS_POS_BOTTOM, MISSIONTIMERS_POS_RIGHT, MISSIONTIMERS_SCALE, "
     "MISSIONTIMERS_TIMER_GAP, MISSIONDESCTIMERAB_GAP",
     "TIMER_COLOR, COUNTER_COLOR", "mission timers' text", true},
    {"mission timers", nullptr, spriteBox,
     "MISSIONTIMERS_BG_A, MISSIONTIMERS_BG_B, MISSIONDESCTIMERAB_GAP", "MISSIONTIMER_BG",
     "mission timers' background", true},
    {"mission timers", nullptr, anyBox,
     "MISSIONTIMERBAR_BG_A, MISSIONTIMERBAR_BG_B, MISSIONDESCTIMERAB_GAP",
     "MISSIONTIMERBAR_BG, MISSIONTIMERBAR_FG", "mission timers' bar", true},
    {"pager", nullptr, textBox, "SUBTEXT_SCALE", "PAGER_COLOR", "pager text"},
    {"pager", nullptr, anyBox, "", "", "pager picture"},
    {"wanted stars", nullptr, anyBox,
     "WANTED_POS_TOP, WANTED_POS_RIGHT, WANTED_STAR_SCALE, WANTED_STAR_SPACE", "WANTED_COLOR"},
    {"weapon wheel", nullptr, anyBox, "WEAP_WHEEL_SCALE_MULTIPLIER", "WHEEL_BG, WHEELINDICATOR"},
    {"radio wheel", nullptr, anyBox, "RADIO_WHEEL_SCALE", "WHEEL_BG, WHEELINDICATOR"},
    {"subtitles", nullptr, anyBox,
     "SUBTITLE_BOTTOM, SUBTITLE_OFFSET_L, SUBTITLE_OFFSET_R, SUBTEXT_SCALE", ""},
    {"big messages", nullptr, anyBox, "MISSION_BUSTED_WASTED_SCALE, WASTED_BUSTED_OFFSET",
     "BIGMESSAGE_COLOR, WASTEDBUSTED_COLOR"},
    {"help box", nullptr, anyBox, "TEXT_BOX_WIDTH, TEXT_BOX_TEXT_SCALE", ""},
    {"odd-job messages", nullptr, anyBox,
     "ODDJOB_CENTRE, ODDJOB_RESULT_CENTRE, BIGTEXT_SCALE, HUD_SCALE",
     "ODDJOB_COLOR, ODDJOB2_COLOR"},
    {"mission title", nullptr, anyBox, "MISSION_BOTTOM, MISSION_RIGHT, BIGTEXT_SCALE",
     "MISSIONTITLE_COLOR"},
    {"phone", nullptr, textBox, "CLOCK_RIGHT, CLOCK_BOTTOM, CLOCK_SCALE", "CLOCK_COLOR",
     "phone clock"},
    {"phone", nullptr, anyBox, "", "", "phone picture"},
    {"crosshair", nullptr, anyBox, "", "", "crosshair"},
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
    for (float edge : {box.left, box.top, box.right, box.bottom})
        if (!(std::abs(edge) <= farOff)) return "(far off screen)";
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

// "money: MONEY_POS_TOP, ...; pager: SUBTEXT_SCALE" for the boxes, each element once; with
// colours, the colour keys of each, where it has any.
std::string keysFor(const std::vector<const DrawnBox*>& boxes, bool colours = false) {
    std::string keys;
    std::vector<const ElementKeys*> seen;
    for (const DrawnBox* box : boxes) {
        const ElementKeys* entry = keysOf(*box);
        if (!entry || std::find(seen.begin(), seen.end(), entry) != seen.end()) continue;
        seen.push_back(entry);
        const std::string_view these = colours && *entry->colours ? entry->colours : entry->keys;
        keys += (keys.empty() ? "" : "; ") + (entry->keyed ? entry->keyed : elementName(*box)) +
                ": " + (these.empty() ? "fixed, no key moves or sizes it" : std::string(these));
    }
    return keys;
}

// Adds a finding unless the capture has one with the same problem: what names it the same in
// every capture, whatever rectangles it has there.
void report(CaptureLayout& layout, std::vector<size_t> boxes, std::string message,
            std::string problem, std::string keys) {
    for (const auto& finding : layout.findings)
        if (finding.problem == problem) return;
    layout.findings.push_back(
        {std::move(message), std::move(problem), std::move(keys), std::move(boxes)});
}

// A problem of one box: the sprites of one element (a wheel's ring and segments, a row of
// stars) share it; a text has it once with its shadow.
void reportBox(CaptureLayout& layout, size_t subject, const std::string& problem,
               const std::string& rule, bool colours = false) {
    const DrawnBox& box = layout.boxes[subject];
    report(layout, {subject}, describe(box) + " " + problem,
           (isText(box) ? named(box) : elementName(box) + " " + kindName(box.kind)) + " " + rule,
           keysFor({&box}, colours));
}

// A problem between two elements, once however many pieces each draws.
void reportPair(CaptureLayout& layout, std::vector<size_t> boxes, size_t subject,
                const std::string& problem, size_t other) {
    const DrawnBox& box = layout.boxes[subject];
    const DrawnBox& with = layout.boxes[other];
    std::string first = elementName(box), second = elementName(with);
    if (second < first) std::swap(first, second);
    report(layout, std::move(boxes), describe(box) + " " + problem + " " + describe(with),
           first + " and " + second + " clash", keysFor({&box, &with}));
}

// Drawn over the whole HUD while they show, on purpose.
bool coversOnPurpose(const DrawnBox& box) {
    return box.element == "weapon wheel" || box.element == "radio wheel" ||
           (box.element == "crosshair" && box.kind == DrawnBox::Kind::Sprite &&
            box.label.find("sniper") != std::string::npos);
}

// Whether what the box's element draws belongs on the sprite: its own element's, the timers on
// the phone. Everything may lie on the crosshair.
bool belongsOn(const DrawnBox& box, const DrawnBox& sprite) {
    return sprite.element == box.element || sprite.element == "crosshair" ||
           (box.element == "mission timers" && sprite.element == "phone");
}

// The screen of the panels a text is printed inside, as a share of the picture each way: the
// pager's inside its dark rim.
struct PanelScreen {
    const char* texture;
    float left, top, right, bottom;
};
constexpr PanelScreen panelScreens[] = {
    {"tarvel_iii/pager", 0.172f, 0.252f, 0.908f, 0.768f},
    {"phone_iii/phone", 0.16f, 0.10f, 0.84f, 0.42f},
    {"phone_iii/phone_class", 0.16f, 0.10f, 0.84f, 0.42f},
};

// The part of the sprite a text on it must stay in: its screen, or the whole picture.
DrawnBox panelOf(const DrawnBox& sprite) {
    DrawnBox panel = sprite;
    for (const auto& screen : panelScreens) {
        if (sprite.label != screen.texture || sprite.mirrored || sprite.upsideDown) continue;
        panel.left = sprite.left + width(sprite) * screen.left;
        panel.right = sprite.left + width(sprite) * screen.right;
        panel.top = sprite.top + height(sprite) * screen.top;
        panel.bottom = sprite.top + height(sprite) * screen.bottom;
    }
    return panel;
}

// Whether no pixel of the box shows where nothing else is wrong with it: the phone's picture
// put away below the screen.
bool putAway(const DrawnBox& box, int screenHeight) {
    return box.element == "phone" && box.kind == DrawnBox::Kind::Sprite &&
           box.top >= float(screenHeight) - slack;
}

bool showing(const DrawnBox& box, int screenWidth, int screenHeight) {
    return box.unseen.empty() && onScreen(box, screenWidth, screenHeight);
}

// What to write instead, after why nothing of a box shows.
std::string advice(const std::string& unseen) {
    if (unseen == "is fully transparent")
        return ": the last number of its colour, the alpha, is 0 (255 is solid)";
    if (unseen == "has no width" || unseen == "has no height")
        return ": a size or scale of it comes out 0; write one above 0, with a dot for decimals";
    if (unseen == "is too large to draw") return ": write a smaller scale";
    return "";
}

// Rule 1, 2: no pixel, or some pixels off the screen.
void checkShowing(CaptureLayout& layout, size_t i) {
    const DrawnBox& box = layout.boxes[i];
    if (!box.unseen.empty()) {
        const bool colour = box.unseen == "is fully transparent";
        reportBox(layout, i, box.unseen + advice(box.unseen), "gone",
                  colour && keysOf(box) && *keysOf(box)->colours);
    } else if (box.kind == DrawnBox::Kind::Rectangle || putAway(box, layout.height)) {
        return;
    } else if (!onScreen(box, layout.width, layout.height)) {
        // The shadow of a text that shows: the text tells whether it is cut off.
        const bool textShows =
            isText(box) &&
            std::any_of(layout.boxes.begin(), layout.boxes.end(), [&](const DrawnBox& other) {
                return other.element == box.element && other.label == box.label &&
                       showing(other, layout.width, layout.height);
            });
        if (!textShows) reportBox(layout, i, "is entirely off the screen", "gone");
    } else {
        DrawnBox allowed;
        allowed.right = static_cast<float>(layout.width);
        allowed.bottom = box.element == "phone" && box.kind == DrawnBox::Kind::Sprite
                             ? INFINITY
                             : static_cast<float>(layout.height);
        if (!inside(box, allowed))
            reportBox(layout, i, "is partly outside the screen", "off the screen");
    }
}

// A solid rectangle wholly on an earlier one of its colour, as a bar on its own background.
void checkSameColour(CaptureLayout& layout, size_t i) {
    const auto& boxes = layout.boxes;
    const DrawnBox& box = boxes[i];
    if (box.kind != DrawnBox::Kind::Rectangle || box.label.size() < 4 ||
        box.label.compare(box.label.size() - 4, 4, " 255") != 0)
        return;
    for (size_t j = 0; j < i; ++j)
        if (boxes[j].kind == box.kind && boxes[j].label == box.label && inside(box, boxes[j])) {
            reportBox(layout, i,
                      "lies wholly on a rectangle of its own colour and cannot be seen: give one "
                      "of them another colour",
                      "gone", true);
            return;
        }
}

// Rule 3.
void checkMirrored(CaptureLayout& layout, size_t i) {
    const auto& boxes = layout.boxes;
    const DrawnBox& box = boxes[i];
    if (!box.mirrored && !box.upsideDown) return;
    for (const DrawnBox& other : boxes)
        if (other.element == box.element && other.label == box.label && !other.mirrored &&
            !other.upsideDown && other.unseen.empty())
            return;
    const std::string how = !box.upsideDown ? "is drawn mirrored, right to left"
                            : box.mirrored  ? "is drawn upside down and mirrored"
                                            : "is drawn upside down";
    reportBox(layout, i, how + ": a size of it comes out below 0; write it above 0", "mirrored");
}

// The share of what shows of the box that lies under the other's pixels.
float shareUnder(const DrawnBox& box, const DrawnBox& other, int screenWidth, int screenHeight) {
    if (!meet(box, other)) return 0.0f;
    const float left = std::max(box.left, 0.0f), right = std::min(box.right, float(screenWidth));
    const float top = std::max(box.top, 0.0f), bottom = std::min(box.bottom, float(screenHeight));
    int shown = 0, under = 0;
    for (int row = 0; row < coverSamples; ++row)
        for (int column = 0; column < coverSamples; ++column) {
            const float x = left + (right - left) * (float(column) + 0.5f) / coverSamples;
            const float y = top + (bottom - top) * (float(row) + 0.5f) / coverSamples;
            if (!showsAt(box, x, y)) continue;
            ++shown;
            under += showsAt(other, x, y);
        }
    return shown ? float(under) / float(shown) : 0.0f;
}

// Rule 4 and 5. A text under another element's sprite drawn after it is covered, whatever
// text lies over it too: nothing of it shows. Ink over ink shows both: text over text.
void checkClashes(CaptureLayout& layout, size_t i, const std::vector<bool>& showing) {
    const auto& boxes = layout.boxes;
    const DrawnBox& box = boxes[i];
    size_t worst = i;
    float worstShare = coveredShare;
    for (size_t j = 0; j < boxes.size(); ++j) {
        const DrawnBox& other = boxes[j];
        if (j == i || !showing[j] || other.element == box.element) continue;
        if (j > i ? coversOnPurpose(other) : belongsOn(box, other)) continue;
        // Ink over ink: both show through, text over text.
        if (isText(box) && isText(other)) continue;
        const float share = shareUnder(box, other, layout.width, layout.height);
        if (share > worstShare) {
            worst = j;
            worstShare = share;
        }
    }
    if (worst > i) return reportPair(layout, {i, worst}, i, "is covered by", worst);
    for (size_t j = i + 1; j < boxes.size() && isText(box); ++j) {
        const DrawnBox& other = boxes[j];
        const bool part =
            other.element == box.element && (other.label.find(box.label) != std::string::npos ||
                                             box.label.find(other.label) != std::string::npos);
        if (showing[j] && isText(other) && !part && meet(box, other))
            reportPair(layout, {i, j}, j, "is over", i);
    }
    if (worst != i) reportPair(layout, {i, worst}, i, "lies on", worst);
}

// Rule 6.
void checkPanel(CaptureLayout& layout, size_t i) {
    const auto& boxes = layout.boxes;
    const DrawnBox& box = boxes[i];
    const float centreX = (box.left + box.right) / 2, centreY = (box.top + box.bottom) / 2;
    std::vector<size_t> printedOn;
    bool onOne = false;
    for (size_t j = 0; j < i; ++j) {
        const DrawnBox& sprite = boxes[j];
        // Its own element's panel holds it even where its centre is over a see-through edge.
        const bool under = showsAt(sprite, centreX, centreY) ||
                           (sprite.element == box.element && meet(box, sprite));
        if (isText(sprite) || sprite.element == "crosshair" || !sprite.unseen.empty() || !under)
            continue;
        printedOn.push_back(j);
        onOne = onOne || inside(box, belongsOn(box, sprite) ? panelOf(sprite) : sprite);
    }
    if (printedOn.empty() || onOne) return;
    const size_t panel = printedOn.front();
    const DrawnBox screen = panelOf(boxes[panel]);
    printedOn.insert(printedOn.begin(), i);
    if (corners(screen) != corners(boxes[panel]) && belongsOn(box, boxes[panel]))
        report(layout, printedOn,
               describe(box) + " runs out of the screen " + corners(screen) + " of " +
                   describe(boxes[panel]),
               named(box) + " out of the screen of " + screen.label,
               keysFor({&box, &boxes[panel]}));
    else
        reportPair(layout, printedOn, i, "runs out of", panel);
}

// Rule 8.
void checkTexture(CaptureLayout& layout, size_t i) {
    const DrawnBox& box = layout.boxes[i];
    const size_t slash = box.label.find('/');
    if (box.textureWidth <= 0 || slash == std::string::npos) return;
    const std::string sides =
        texdict::unusableSides(box.label.substr(slash + 1), box.textureWidth, box.textureHeight);
    if (sides.empty()) return;
    std::vector<size_t> drawn;
    for (size_t j = 0; j < layout.boxes.size(); ++j)
        if (layout.boxes[j].label == box.label) drawn.push_back(j);
    report(layout, std::move(drawn),
           describe(box) + " is drawn from " + box.label.substr(0, slash) + ".txd, where " + sides,
           "texture " + box.label + " unusable", "");
}

// Rule 9.
void checkCharacters(CaptureLayout& layout, size_t i) {
    const DrawnBox& box = layout.boxes[i];
    if (box.undrawable.empty()) return;
    std::string characters;
    for (size_t at = 0; at < box.undrawable.size();) {
        size_t length = 1; // the bytes of one UTF-8 character
        while (at + length < box.undrawable.size() &&
               (static_cast<unsigned char>(box.undrawable[at + length]) & 0xC0) == 0x80)
            ++length;
        characters += (characters.empty() ? "" : " ") + box.undrawable.substr(at, length);
        at += length;
    }
    // No key places them: the text itself is at fault.
    report(layout, {i},
           describe(box) +
               " holds characters its font has no letter for, each drawn as an "
               "empty box: " +
               characters,
           named(box) + " cannot draw " + box.undrawable, "");
}

// Rule 10: each part must meet its whole; a bar may stand beside the frame by its thickness.
struct BelongsTogether {
    const char* part; // as keysOfBox names the boxes
    const char* whole;
    const char* problem;
    float reach; // how far the part may stand off the whole, in its own heights
};
constexpr BelongsTogether together[] = {
    {"mission timers' background", "mission timers' text", "has none of the timers' text on it",
     0.0f},
    {"radar bars", "radar frame", "stands away from the radar's frame", 2.0f},
};

void checkTogether(CaptureLayout& layout, const std::vector<bool>& shows) {
    const auto& boxes = layout.boxes;
    for (const auto& rule : together)
        for (size_t i = 0; i < boxes.size(); ++i) {
            if (!shows[i] || keysOfBox(boxes[i]).name != rule.part) continue;
            DrawnBox near = boxes[i];
            const float reach = height(near) * rule.reach;
            near.left -= reach;
            near.top -= reach;
            near.right += reach;
            near.bottom += reach;
            bool wholes = false, met = false;
            for (size_t j = 0; j < boxes.size() && !met; ++j) {
                if (!shows[j] || keysOfBox(boxes[j]).name != rule.whole) continue;
                wholes = true;
                met = meet(near, boxes[j]);
            }
            // The whole not drawn at all (no timer running) is no sign of a part out of place.
            if (!wholes || met) continue;
            std::vector<size_t> named{i};
            std::vector<const DrawnBox*> keyed{&boxes[i]};
            for (size_t j = 0; j < boxes.size(); ++j)
                if (shows[j] && keysOfBox(boxes[j]).name == rule.whole) {
                    named.push_back(j);
                    keyed.push_back(&boxes[j]);
                }
            report(layout, named, describe(boxes[i]) + " " + rule.problem,
                   std::string(rule.part) + " apart from " + rule.whole, keysFor(keyed));
        }
}

} // namespace

namespace {

void appendKeys(std::vector<std::string>& keys, std::string_view list) {
    for (size_t begin = 0; begin < list.size();) {
        const size_t end = std::min(list.find(", ", begin), list.size());
        keys.emplace_back(list.substr(begin, end - begin));
        begin = end + 2;
    }
}

} // namespace

std::vector<std::string> placingKeys() {
    std::vector<std::string> keys;
    for (const auto& entry : elementKeys)
        appendKeys(keys, entry.keys);
    return keys;
}

BoxKeys keysOfBox(const DrawnBox& box) {
    BoxKeys keys;
    const ElementKeys* entry = keysOf(box);
    keys.name = entry && entry->keyed ? entry->keyed : elementName(box);
    if (!entry) return keys;
    if (entry->together) keys.group = entry->element;
    appendKeys(keys.placing, entry->keys);
    appendKeys(keys.colours, entry->colours);
    return keys;
}

DrawnBox inkOf(const DrawnBox& box) {
    if (box.cover.empty() || box.coverColumns <= 0) return box;
    const int columns = box.coverColumns, rows = static_cast<int>(box.cover.size()) / columns;
    int left = columns, top = rows, right = -1, bottom = -1;
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < columns; ++column)
            if (box.cover[size_t(row * columns + column)]) {
                left = std::min(left, column);
                right = std::max(right, column);
                top = std::min(top, row);
                bottom = std::max(bottom, row);
            }
    if (right < 0) return box;
    DrawnBox ink = box;
    const float cellWidth = width(box) / float(columns), cellHeight = height(box) / float(rows);
    ink.left = box.left + cellWidth * float(left);
    ink.right = box.left + cellWidth * float(right + 1);
    ink.top = box.top + cellHeight * float(top);
    ink.bottom = box.top + cellHeight * float(bottom + 1);
    return ink;
}

std::string describe(const DrawnBox& box) {
    return named(box) + " " + corners(box);
}

void checkLayout(CaptureLayout& layout) {
    const auto& boxes = layout.boxes;
    std::vector<bool> shows(boxes.size());
    for (size_t i = 0; i < boxes.size(); ++i)
        shows[i] = showing(boxes[i], layout.width, layout.height);
    for (size_t i = 0; i < boxes.size(); ++i) {
        const DrawnBox& box = boxes[i];
        if (shows[i]) {
            checkMirrored(layout, i);
            checkSameColour(layout, i);
            checkClashes(layout, i, shows);
            if (isText(box))
                checkPanel(layout, i);
            else if (std::max(width(box), height(box)) < smallestSprite)
                reportBox(layout, i,
                          "is less than " + std::to_string(int(smallestSprite)) + " pixels across",
                          "too small");
        }
        checkShowing(layout, i);
        checkTexture(layout, i);
        checkCharacters(layout, i);
    }
    checkTogether(layout, shows);
}

} // namespace preview
