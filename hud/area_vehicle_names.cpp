// Area and vehicle names, lower right: a new name fades in for a second, holds for ten seconds
// of drawn time and fades out; a name that changes while one is up fades the old one out first.
#include "hud/area_vehicle_names.h"
#include "config/hud_settings.h"
#include "host/host_interface.h"
#include "hud/hud_drawers.h"
#include "hud/message_slots.h"
#include "hud/shadow_text.h"
#include "screen/exact_arithmetic.h"
#include "screen/units.h"

#include <cstdint>

namespace {

enum NameState : int32_t { Idle = 0, Shown = 1, FadingIn = 2, FadingOut = 3, Switching = 4 };

struct NameDisplay {
    uint32_t last;  // the game's text pointer seen last frame
    uint32_t shown; // the text on screen; lags behind last while an old name fades out
    int32_t state;
    int32_t timer; // milliseconds drawn
    int32_t fade;  // opacity in thousandths
};

// Constant-initialised, so the seeding at load finds them ready.
NameDisplay areaDisplay{};
NameDisplay vehicleDisplay{};

constexpr int32_t holdMilliseconds = 10000;
constexpr int32_t opaque = 1000;

// Where the area and the vehicle display part ways.
struct NameRules {
    int32_t timerOnNewName;
    bool restartTimerOnSwitch;
    bool pinOpaqueWhileShown;
};
constexpr NameRules areaRules{5, false, true};
constexpr NameRules vehicleRules{0, true, false};

void noticeName(NameDisplay& d, uint32_t pointer, const NameRules& rules) {
    if (pointer == d.last) return;
    if (d.state == Idle) {
        d.shown = pointer;
        d.fade = 0;
        d.timer = 0;
        d.state = FadingIn;
    } else {
        d.timer = rules.timerOnNewName;
        d.state = Switching;
    }
    d.last = pointer;
}

// Moves the fade on by the frame's duration; gives the opacity, 0 to 255.
float advanceFade(NameDisplay& d, uint32_t pointer, float step, const NameRules& rules) {
    switch (d.state) {
    case Shown:
        if (rules.pinOpaqueWhileShown) d.fade = opaque;
        if (d.timer > holdMilliseconds) {
            d.fade = opaque;
            d.state = FadingOut;
        }
        return 255.0f;
    case FadingIn: {
        const float fade = roundedToFloat(static_cast<float>(d.fade) + step);
        if (fade > static_cast<float>(opaque)) {
            d.fade = opaque;
            d.state = Shown;
        } else {
            d.fade = truncateToInt(fade);
        }
        break;
    }
    case FadingOut:
    case Switching: {
        const float fade = roundedToFloat(static_cast<float>(d.fade) - step);
        if (fade >= 0.0f) {
            d.fade = truncateToInt(fade);
        } else if (d.state == FadingOut) {
            d.fade = 0;
            d.state = Idle;
        } else {
            d.shown = pointer;
            if (rules.restartTimerOnSwitch) d.timer = 0;
            d.fade = 0;
            d.state = FadingIn;
        }
        break;
    }
    default:
        break;
    }
    return roundedToFloat(roundedToFloat(static_cast<float>(d.fade) * 0.001f) * 255.0f);
}

// A subtitle or a wasted/busted message covers the names, and the covered time does not count.
bool namesCovered() {
    return host::global<char16_t>(&HostAddresses::subtitleText) != 0 ||
           !messageEmpty(wastedBustedSlot);
}

struct NamePlace {
    float right, bottom;
    const Rgba& colour;
};

void printName(const NameDisplay& d, uint8_t alpha, float widthFactor, const NamePlace& place,
               int titleOffset) {
    host::textSwitch1C80();
    host::textSwitch1DA0();
    host::textSwitch1CF0();
    host::setTextScale(UnitX(hudSettings.BIGTEXT_SCALE.x * widthFactor),
                       UnitY(hudSettings.BIGTEXT_SCALE.y));
    host::setRightJustifyOn();
    host::setRightJustifyWidth(0.0f);
    host::textSwitch1D40();
    host::setFont(nameFont(hudSettings.ZONE_VEHICLE_FONT));

    const float x = host::screenWidth() - UnitX(place.right);
    const float y = host::screenHeight() - UnitY(static_cast<float>(titleOffset) + place.bottom);
    const auto* text = reinterpret_cast<const char16_t*>(static_cast<uintptr_t>(d.shown));
    printShadowed(text, {0, 0, 0, alpha}, {x + UnitX(1.0f), y + UnitY(1.0f)},
                  withAlpha(place.colour, alpha), {x, y});
}

// One frame of one display, drawn unless idle or covered.
void runNameDisplay(NameDisplay& d, uint32_t pointer, const NameRules& rules, float widthFactor,
                    const NamePlace& place, int titleOffset) {
    noticeName(d, pointer, rules);
    if (d.state == Idle) return;
    const float step = host::frameMilliseconds();
    const float alpha = advanceFade(d, pointer, step, rules);
    if (namesCovered()) return;
    d.timer = truncateToInt(roundedToFloat(static_cast<float>(d.timer) + step));
    // A display seeded as busy has no text of its own until the next name arrives.
    if (d.shown == 0) return;
    printName(d, alphaOf(alpha), widthFactor, place, titleOffset);
}

} // namespace

void seedNameDisplays() {
    areaDisplay = {};
    vehicleDisplay = {};
    if (!host::fullyKnown()) return;
    areaDisplay.state = host::global<int32_t>(&HostAddresses::areaStateSeed);
    areaDisplay.timer = host::global<int32_t>(&HostAddresses::areaTimerSeed);
    vehicleDisplay.state = host::global<int32_t>(&HostAddresses::vehicleStateSeed);
    vehicleDisplay.timer = host::global<int32_t>(&HostAddresses::vehicleTimerSeed);
    vehicleDisplay.last = host::global<uint32_t>(&HostAddresses::vehicleLastSeed);
    areaDisplay.last = host::addresses().noAreaSeen;
}

void drawAreaAndVehicleNames(int titleOffset) {
    const uint8_t textSize = host::global<uint8_t>(&HostAddresses::textSizeSetting);
    const auto& colors = hudSettings.colors;

    // No area leaves the area display as it is.
    const uint32_t area = host::global<uint32_t>(&HostAddresses::areaName);
    if (area != 0)
        runNameDisplay(areaDisplay, area, areaRules, textSize == 4 ? 0.8f : 1.0f,
                       {hudSettings.ZONE_RIGHT, hudSettings.ZONE_BOTTOM, colors.ZONE_COLOR},
                       titleOffset);

    // On foot the vehicle name is gone at once.
    const uint32_t vehicle = host::global<uint32_t>(&HostAddresses::vehicleName);
    if (vehicle == 0) {
        vehicleDisplay.last = 0;
        vehicleDisplay.state = Idle;
        vehicleDisplay.fade = 0;
        vehicleDisplay.timer = 0;
        return;
    }
    runNameDisplay(
        vehicleDisplay, vehicle, vehicleRules, textSize == 3 || textSize == 4 ? 0.85f : 1.0f,
        {hudSettings.VEHICLE_RIGHT, hudSettings.VEHICLE_BOTTOM, colors.VEHICLE_COLOR}, titleOffset);
}
