#include "tools/preview/edit/element_placement.h"

#include "config/value_rules.h"

#include <algorithm>
#include <cmath>

namespace preview {

namespace {

// One axis of the map from the old box to the new.
struct AxisMap {
    float from = 0, to = 0, factor = 1;
    float operator()(float pixel) const { return to + (pixel - from) * factor; }
};

AxisMap axisMap(float fromLow, float fromHigh, float toLow, float toHigh) {
    const float span = fromHigh - fromLow;
    // A box of no extent can move along that axis but not be sized.
    return {fromLow, toLow, span > 0 ? (toHigh - toLow) / span : 1.0f};
}

// A position within a pixel at a hundredth of a unit; a size kept to five figures, as text
// scales are small numbers; whole units where the HUD cuts the value.
float rounded(float value, const KeyNumber& number, bool whole) {
    if (whole) return std::round(value);
    if (number.fromEdge != 0) return std::round(value * 100.0f) / 100.0f;
    if (!(value != 0.0f)) return value;
    // Divided by a power of ten, which a float holds exactly, the result is the float nearest
    // the decimal, which numberText writes as that decimal.
    const float scale = std::pow(10.0f, 4.0f - std::floor(std::log10(std::fabs(value))));
    return std::round(value * scale) / scale;
}

// A box moved without a change of size moves each position by the same count of units of its
// kind along each axis, whole where a key of that unit along that axis is cut to whole units: the
// parts placed by keys of one unit (the radar's frame, map and bars) keep their distances, to
// the unit, however often they move.
struct Shift {
    bool moving = false;
    float units[2][3] = {}; // [down 0, across 1][LayoutUnit]
};

bool keepsItsSize(const AxisMap& axis) {
    return std::fabs(axis.factor - 1.0f) < 1e-4f;
}

Shift shiftOf(const std::vector<const GeometryKey*>& placed, int width, int height,
              const AxisMap& across, const AxisMap& down) {
    Shift shift;
    shift.moving = keepsItsSize(across) && keepsItsSize(down);
    for (const bool isAcross : {false, true})
        for (const LayoutUnit unit :
             {LayoutUnit::Across640, LayoutUnit::Down448, LayoutUnit::ShortSide1080}) {
            bool whole = false;
            for (const GeometryKey* key : placed)
                for (int i = 0; i < numberCount(*key); ++i) {
                    const KeyNumber& n = key->numbers[i];
                    whole = whole || (key->whole && n.fromEdge != 0 && n.across == isAcross &&
                                      n.unit == unit);
                }
            const AxisMap& axis = isAcross ? across : down;
            const float units = (axis.to - axis.from) / pixelsPerUnit(unit, width, height);
            shift.units[isAcross][static_cast<int>(unit)] =
                whole ? std::round(units) : std::round(units * 100.0f) / 100.0f;
        }
    return shift;
}

float placedNumber(float value, const KeyNumber& number, const GeometryKey& key, int width,
                   int height, const AxisMap& across, const AxisMap& down, const Shift& shift) {
    const AxisMap& axis = number.across ? across : down;
    if (key.whole) value = truncated(value);
    if (number.fromEdge == 0) {
        // One number for both ways: the mean of the two factors, so that either alone sizes it.
        const float factor =
            key.proportional ? std::sqrt(across.factor * down.factor) : axis.factor;
        if (shift.moving) return value;
        return rounded(number.shrinks ? value / factor : value * factor, number, key.whole);
    }
    if (shift.moving) {
        const float units = shift.units[number.across][static_cast<int>(number.unit)];
        return rounded(number.fromEdge > 0 ? value + units : value - units, number, key.whole);
    }
    const float perUnit = pixelsPerUnit(number.unit, width, height);
    const float extent = static_cast<float>(number.across ? width : height);
    const float pixel = number.fromEdge > 0 ? value * perUnit : extent - value * perUnit;
    const float moved = axis(pixel);
    return rounded((number.fromEdge > 0 ? moved : extent - moved) / perUnit, number, key.whole);
}

// The keys given that place or size, once each, with the radar's map after its frame's keys:
// its edges are in the frame's own units, so it keeps its place inside the frame.
std::vector<const GeometryKey*> keysToPlace(const std::vector<std::string>& keys) {
    std::vector<const GeometryKey*> placed;
    const auto add = [&](std::string_view name) {
        const GeometryKey* key = geometryKey(name);
        if (key && std::find(placed.begin(), placed.end(), key) == placed.end())
            placed.push_back(key);
    };
    for (const std::string& key : keys) {
        add(key);
        if (key.rfind("OUTER_RADAR_SCALE_", 0) == 0) {
            add("INNER_RADAR_SCALE_A");
            add("INNER_RADAR_SCALE_B");
        }
    }
    return placed;
}

// Text drawn in rows at a distance that does not grow with its scale: the mission timers'
// counter row stands MISSIONDESCTIMERAB_GAP units above the timer row, the first line, where
// the HUD puts the text the scale grows from. Sized, the rows' distance stays out of the factor:
// the box without it grows, and the first line maps through that box.
void leaveOutFixedRise(const HudSettings& now, const std::vector<const GeometryKey*>& placed,
                       int height, PixelBox& from, PixelBox& to) {
    const bool timersText = std::any_of(placed.begin(), placed.end(), [](const GeometryKey* key) {
        return key->single == &HudSettings::MISSIONTIMERS_POS_BOTTOM;
    });
    if (!timersText) return;
    const float h = static_cast<float>(height);
    const float firstLine = h - unitY(now.MISSIONTIMERS_POS_BOTTOM, h);
    const float rise = unitY(now.MISSIONDESCTIMERAB_GAP, h);
    // Ink above the first line's top is the upper row's: the first row inks below it.
    if (!(from.top < firstLine - 1.0f) || !(rise > 0) || from.top + rise >= from.bottom ||
        to.top + rise >= to.bottom)
        return;
    from.top += rise;
    to.top += rise;
}

// The pixels the HUD adds to where a key puts the element's text, down the screen, in a frame
// drawn with these others: the text's scale grows from there, not from the key's own place.
float addedDown(const HudSettings& now, const std::vector<const GeometryKey*>& placed, int height,
                const DrawnWith& drawn) {
    const float h = static_cast<float>(height);
    const auto has = [&](float HudSettings::*field) {
        return std::any_of(placed.begin(), placed.end(),
                           [&](const GeometryKey* key) { return key->single == field; });
    };
    const float wantedGap = drawn.wanted ? truncated(now.MONEY_TRANSITION_GAP) : 0.0f;
    if (has(&HudSettings::MONEY_POS_TOP)) return unitY(wantedGap, h);
    if (has(&HudSettings::WEAPON_AMMO_POS_TOP))
        return unitY(wantedGap - (drawn.money ? 0.0f : now.WEAPON_AMMO_TRANSITION_GAP), h);
    const float titleOffset =
        drawn.missionTimers ? truncated(now.ZONE_VEHICLE_MISSION_TRANSITION_GAP) : 0.0f;
    if (has(&HudSettings::ZONE_BOTTOM) || has(&HudSettings::VEHICLE_BOTTOM) ||
        has(&HudSettings::MISSION_BOTTOM))
        return -unitY(titleOffset, h);
    return 0.0f;
}

} // namespace

Placement placeElement(const HudSettings& now, const std::vector<std::string>& keys, int width,
                       int height, PixelBox from, PixelBox to, const DrawnWith& drawn) {
    Placement placement;
    const std::vector<const GeometryKey*> placed = keysToPlace(keys);
    leaveOutFixedRise(now, placed, height, from, to);
    // The boxes as seen from the keys' places: the map then scales the text about the
    // corner that stays, from where the HUD draws it.
    const float added = addedDown(now, placed, height, drawn);
    from.top -= added;
    from.bottom -= added;
    to.top -= added;
    to.bottom -= added;
    const AxisMap across = axisMap(from.left, from.right, to.left, to.right);
    const AxisMap down = axisMap(from.top, from.bottom, to.top, to.bottom);
    if (!(across.factor > 0 && down.factor > 0 && std::isfinite(across.factor * down.factor) &&
          std::isfinite(across.to) && std::isfinite(down.to))) {
        placement.error = "the new box must have a size and the same sides as the old one";
        return placement;
    }
    const Shift shift = shiftOf(placed, width, height, across, down);
    if (placed.empty()) placement.error = "no key of this element moves or sizes it";
    for (const GeometryKey* key : placed) {
        FloatPair old = key->pair ? now.*key->pair : FloatPair{now.*key->single, now.*key->single};
        // A multiplier the HUD cannot use is drawn as the built-in one: sizing starts there.
        if (key->single == &HudSettings::WEAP_WHEEL_SCALE_MULTIPLIER)
            old.x = old.y = wheelScaleMultiplier(old.x);
        const auto number = [&](float value, int index) {
            return placedNumber(value, key->numbers[index], *key, width, height, across, down,
                                shift);
        };
        const FloatPair placedAt{number(old.x, 0), key->pair ? number(old.y, 1) : 0.0f};
        // A box far outside the frame maps a value past a float's range, which has no text.
        if (!std::isfinite(placedAt.x) || !std::isfinite(placedAt.y)) {
            placement.values.clear();
            placement.error = std::string("the new box puts ") + key->key + " out of reach";
            return placement;
        }
        // A key the map leaves where the HUD has it keeps its text as written.
        const auto same = [&](float was, float is) {
            return (key->whole ? truncated(was) : was) == is;
        };
        if (same(old.x, placedAt.x) && (!key->pair || same(old.y, placedAt.y))) continue;
        placement.values.push_back(
            {key->key, key->pair ? numberText(placedAt.x) + " " + numberText(placedAt.y)
                                 : numberText(placedAt.x)});
    }
    return placement;
}

} // namespace preview
