#pragma once
// An element moved and sized in a frame, as the values of its keys that draw it there.
#include "tools/preview/edit/element_geometry.h"
#include "tools/preview/edit/settings_edit.h"

#include <string>
#include <vector>

namespace preview {

// A box in a frame's pixels.
struct PixelBox {
    float left = 0, top = 0, right = 0, bottom = 0;
};

// What else the frame the box was measured in draws: the HUD moves some elements by a fixed
// distance while another shows, which a resize must not scale.
struct DrawnWith {
    bool wanted = false;        // the wanted stars: the money and ammo stand lower
    bool money = true;          // the money: without it the ammo rises into its place
    bool missionTimers = false; // the timers: the area, vehicle and mission names stand higher
};

struct Placement {
    std::vector<KeyValue> values; // the keys' new texts, in the order given
    std::string error;            // why the element cannot be placed so; then no values
};

// The element drawn in `from` on a screen of width by height, drawn in `to` instead: per axis
// the affine map from the one box to the other; each position of keys maps through it (a pixel
// of the value, the new pixel, its value) and each size multiplies by the axis's factor. `now`
// holds the values the HUD takes, from the file or built in. Keys that do not place or size an
// element plainly are left out; the radar's map goes with its frame. A box moved without a
// change of size moves every position by the same units (see Shift in the .cpp).
Placement placeElement(const HudSettings& now, const std::vector<std::string>& keys, int width,
                       int height, PixelBox from, PixelBox to, const DrawnWith& drawn = {});

} // namespace preview
