#pragma once
// The layout keys that place or size an element, number by number, as hud/ and wheels/ draw
// with them: which axis, which screen edge a position is measured from, and the unit. The
// editor maps them when an element is moved or sized, and the page draws its ruler by them.
// Portable: the page's data is written with it too.
#include "config/hud_settings.h"
#include "screen/units_at_size.h"

#include <string_view>

namespace preview {

// The units of screen/units_at_size.h: unitX, unitY and unit1080.
enum class LayoutUnit { Across640, Down448, ShortSide1080 };

inline const char* unitName(LayoutUnit unit) {
    return unit == LayoutUnit::Across640 ? "across640"
           : unit == LayoutUnit::Down448 ? "down448"
                                         : "shortSide1080";
}

// The pixels one unit spans on a screen of this size, by the HUD's own functions. They are
// linear in their value (unit1080 then cuts to whole pixels, after this), so N pixels are N
// over this many units.
inline float pixelsPerUnit(LayoutUnit unit, int width, int height) {
    const float w = static_cast<float>(width), h = static_cast<float>(height);
    switch (unit) {
    case LayoutUnit::Across640:
        return unitX(1.0f, w, h);
    case LayoutUnit::Down448:
        return unitY(1.0f, h);
    case LayoutUnit::ShortSide1080:
        return unit1080Uncut(1.0f, w, h);
    }
    return 1.0f;
}

// One number of a key.
struct KeyNumber {
    bool across;          // left and right; else up and down
    int fromEdge;         // a position: +1 from the left or top edge, -1 from the right or bottom;
                          // 0: a size, which grows with the element
    LayoutUnit unit;      // as the HUD draws it (a size's unit matters to the ruler only)
    bool shrinks = false; // a size the element shrinks by as it grows (a divisor)
};

constexpr KeyNumber right640{true, -1, LayoutUnit::Across640};
constexpr KeyNumber top448{false, 1, LayoutUnit::Down448};
constexpr KeyNumber bottom448{false, -1, LayoutUnit::Down448};
constexpr KeyNumber width640{true, 0, LayoutUnit::Across640};
constexpr KeyNumber height448{false, 0, LayoutUnit::Down448};
constexpr KeyNumber left1080{true, 1, LayoutUnit::ShortSide1080};
constexpr KeyNumber right1080{true, -1, LayoutUnit::ShortSide1080};
constexpr KeyNumber top1080{false, 1, LayoutUnit::ShortSide1080};
constexpr KeyNumber bottom1080{false, -1, LayoutUnit::ShortSide1080};
constexpr KeyNumber width1080{true, 0, LayoutUnit::ShortSide1080};
constexpr KeyNumber height1080{false, 0, LayoutUnit::ShortSide1080};

struct GeometryKey {
    const char* key;
    // The field the HUD reads it into: a pair, or one number.
    FloatPair HudSettings::*pair;
    float HudSettings::*single;
    KeyNumber numbers[2]; // the second for a pair only
    // The HUD cuts it to whole units before it scales it, so it is written whole.
    bool whole = false;
    // One number sizes the element both ways alike: it keeps its proportions.
    bool proportional = false;
};

// Keys not here do not place or size their element plainly: gaps and offsets added to other
// values, the bars' length per point of health, a text box's wrap width, the rise of the timers'
// second row, the centre lines of the odd-job messages.
inline constexpr GeometryKey geometryKeys[] = {
    {"MONEY_POS_RIGHT", nullptr, &HudSettings::MONEY_POS_RIGHT, {right640}},
    {"MONEY_POS_TOP", nullptr, &HudSettings::MONEY_POS_TOP, {top448}},
    {"MONEY_SCALE", &HudSettings::MONEY_SCALE, nullptr, {width640, height448}},
    {"WEAPON_AMMO_POS_RIGHT", nullptr, &HudSettings::WEAPON_AMMO_POS_RIGHT, {right640}},
    {"WEAPON_AMMO_POS_TOP", nullptr, &HudSettings::WEAPON_AMMO_POS_TOP, {top448}},
    {"AMMO_SCALE", &HudSettings::AMMO_SCALE, nullptr, {width640, height448}},
    {"WANTED_POS_RIGHT", nullptr, &HudSettings::WANTED_POS_RIGHT, {right1080}},
    {"WANTED_POS_TOP", nullptr, &HudSettings::WANTED_POS_TOP, {top1080}},
    {"WANTED_STAR_SCALE", &HudSettings::WANTED_STAR_SCALE, nullptr, {width1080, height1080}},
    {"WANTED_STAR_SPACE", nullptr, &HudSettings::WANTED_STAR_SPACE, {width1080}},
    {"ZONE_RIGHT", nullptr, &HudSettings::ZONE_RIGHT, {right640}},
    {"ZONE_BOTTOM", nullptr, &HudSettings::ZONE_BOTTOM, {bottom448}},
    {"VEHICLE_RIGHT", nullptr, &HudSettings::VEHICLE_RIGHT, {right640}},
    {"VEHICLE_BOTTOM", nullptr, &HudSettings::VEHICLE_BOTTOM, {bottom448}},
    {"BIGTEXT_SCALE", &HudSettings::BIGTEXT_SCALE, nullptr, {width640, height448}},
    {"HUD_SCALE", &HudSettings::HUD_SCALE, nullptr, {width640, height448}},
    {"MISSIONTIMERS_POS_RIGHT", nullptr, &HudSettings::MISSIONTIMERS_POS_RIGHT, {right640}},
    {"MISSIONTIMERS_POS_BOTTOM", nullptr, &HudSettings::MISSIONTIMERS_POS_BOTTOM, {bottom448}},
    {"MISSIONTIMERS_SCALE", &HudSettings::MISSIONTIMERS_SCALE, nullptr, {width640, height448}},
    {"MISSIONTIMERS_TIMER_GAP", nullptr, &HudSettings::MISSIONTIMERS_TIMER_GAP, {width640}},
    // The timers' background and the counter's bar: A is the left and lower edge, B the right
    // and upper, all counted from the lower right corner.
    {"MISSIONTIMERS_BG_A", &HudSettings::MISSIONTIMERS_BG_A, nullptr, {right640, bottom448}},
    {"MISSIONTIMERS_BG_B", &HudSettings::MISSIONTIMERS_BG_B, nullptr, {right640, bottom448}},
    {"MISSIONTIMERBAR_BG_A", &HudSettings::MISSIONTIMERBAR_BG_A, nullptr, {right640, bottom448}},
    {"MISSIONTIMERBAR_BG_B", &HudSettings::MISSIONTIMERBAR_BG_B, nullptr, {right640, bottom448}},
    {"MISSION_RIGHT", nullptr, &HudSettings::MISSION_RIGHT, {right640}},
    {"MISSION_BOTTOM", nullptr, &HudSettings::MISSION_BOTTOM, {bottom448}},
    {"CLOCK_RIGHT", nullptr, &HudSettings::CLOCK_RIGHT, {right640}},
    {"CLOCK_BOTTOM", nullptr, &HudSettings::CLOCK_BOTTOM, {bottom448}},
    {"CLOCK_SCALE", &HudSettings::CLOCK_SCALE, nullptr, {width640, height448}},
    {"SUBTITLE_BOTTOM", nullptr, &HudSettings::SUBTITLE_BOTTOM, {bottom448}},
    {"SUBTEXT_SCALE", &HudSettings::SUBTEXT_SCALE, nullptr, {width640, height448}},
    {"TEXT_BOX_TEXT_SCALE", &HudSettings::TEXT_BOX_TEXT_SCALE, nullptr, {width640, height448}},
    {"MISSION_BUSTED_WASTED_SCALE",
     &HudSettings::MISSION_BUSTED_WASTED_SCALE,
     nullptr,
     {width640, height448}},
    // The frame's left and right edge; its lower and upper edge, up from the bottom.
    {"OUTER_RADAR_SCALE_A", &HudSettings::OUTER_RADAR_SCALE_A, nullptr, {left1080, left1080}, true},
    {"OUTER_RADAR_SCALE_B",
     &HudSettings::OUTER_RADAR_SCALE_B,
     nullptr,
     {bottom1080, bottom1080},
     true},
    // The map's left edge and width; its height and upper edge, up from the bottom.
    {"INNER_RADAR_SCALE_A", &HudSettings::INNER_RADAR_SCALE_A, nullptr, {left1080, width1080}},
    {"INNER_RADAR_SCALE_B", &HudSettings::INNER_RADAR_SCALE_B, nullptr, {height1080, bottom1080}},
    {"BAR_HEALTH_POS_X_Y", &HudSettings::BAR_HEALTH_POS_X_Y, nullptr, {left1080, bottom1080}, true},
    {"BAR_ARMOR_POS_X_Y", &HudSettings::BAR_ARMOR_POS_X_Y, nullptr, {left1080, bottom1080}, true},
    {"BAR_THICKNESS", nullptr, &HudSettings::BAR_THICKNESS, {height1080}},
    {"RADIO_WHEEL_SCALE", nullptr, &HudSettings::RADIO_WHEEL_SCALE, {width640}, false, true},
    // The wheel's half-size is half the screen's height over it.
    {"WEAP_WHEEL_SCALE_MULTIPLIER",
     nullptr,
     &HudSettings::WEAP_WHEEL_SCALE_MULTIPLIER,
     {{true, 0, LayoutUnit::Down448, true}},
     false,
     true},
};

inline const GeometryKey* geometryKey(std::string_view key) {
    for (const auto& known : geometryKeys)
        if (key == known.key) return &known;
    return nullptr;
}

inline int numberCount(const GeometryKey& key) {
    return key.pair ? 2 : 1;
}

} // namespace preview
