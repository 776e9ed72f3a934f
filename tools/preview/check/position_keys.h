#pragma once
// How the HUD turns each key that positions an element into pixels: the axis, the edge the key
// measures from and the unit it is given in. The layout editor moves an element by them.
#include <algorithm>
#include <cmath>
#include <string_view>

namespace preview {

// The units of screen/units.h: UnitX, UnitY and Unit1080.
enum class LayoutUnit { Across640, Down448, ShortSide1080 };

struct PositionKey {
    const char* key;
    bool across;     // moves the element left and right; else up and down
    int fromEdge;    // +1: measured from the left or top edge; -1: from the right or bottom
    LayoutUnit unit; // as hud/ draws the element
};

inline constexpr PositionKey positionKeys[] = {
    {"MONEY_POS_RIGHT", true, -1, LayoutUnit::Across640},
    {"MONEY_POS_TOP", false, 1, LayoutUnit::Down448},
    {"WEAPON_AMMO_POS_RIGHT", true, -1, LayoutUnit::Across640},
    {"WEAPON_AMMO_POS_TOP", false, 1, LayoutUnit::Down448},
    {"WANTED_POS_RIGHT", true, -1, LayoutUnit::ShortSide1080},
    {"WANTED_POS_TOP", false, 1, LayoutUnit::ShortSide1080},
    {"ZONE_RIGHT", true, -1, LayoutUnit::Across640},
    {"ZONE_BOTTOM", false, -1, LayoutUnit::Down448},
    {"VEHICLE_RIGHT", true, -1, LayoutUnit::Across640},
    {"VEHICLE_BOTTOM", false, -1, LayoutUnit::Down448},
    {"MISSIONTIMERS_POS_RIGHT", true, -1, LayoutUnit::Across640},
    {"MISSIONTIMERS_POS_BOTTOM", false, -1, LayoutUnit::Down448},
    {"MISSION_RIGHT", true, -1, LayoutUnit::Across640},
    {"MISSION_BOTTOM", false, -1, LayoutUnit::Down448},
    {"CLOCK_RIGHT", true, -1, LayoutUnit::Across640},
    {"CLOCK_BOTTOM", false, -1, LayoutUnit::Down448},
    {"SUBTITLE_BOTTOM", false, -1, LayoutUnit::Down448},
};

inline const PositionKey* positionKey(std::string_view key) {
    for (const auto& known : positionKeys)
        if (key == known.key) return &known;
    return nullptr;
}

// The pixels one unit spans on a screen of this size: UnitX, UnitY and Unit1080 of
// screen/units.h at 1, in their own single-precision steps. They are linear in their value
// (Unit1080 then cuts to whole pixels), so a move of N pixels is N over this many units.
inline float pixelsPerUnit(LayoutUnit unit, int width, int height) {
    const float w = static_cast<float>(width), h = static_cast<float>(height);
    switch (unit) {
    case LayoutUnit::Across640:
        return w * 1.0f / 640.0f * 1.3333334f / (w / h);
    case LayoutUnit::Down448:
        return h * 1.0f / 448.0f;
    case LayoutUnit::ShortSide1080:
        return std::min(w, h) / 1080.0f;
    }
    return 1.0f;
}

// The key's new value once its element is moved by (dx, dy) pixels on a screen of this size:
// the inverse of the HUD's unit for the edge the key measures from (moving right lowers a
// _RIGHT key), to a hundredth of a unit, well within a pixel.
inline float movedValue(const PositionKey& key, float value, float dx, float dy, int width,
                        int height) {
    const float pixels = key.across ? dx : dy;
    const float units =
        static_cast<float>(key.fromEdge) * pixels / pixelsPerUnit(key.unit, width, height);
    return std::round((value + units) * 100.0f) / 100.0f;
}

} // namespace preview
