// The phone: P slides it up from below the lower right corner with the game clock on its
// screen; it stays out for about 100 seconds, and O slides it back down.
#include "hud/phone.h"
#include "config/hud_settings.h"
#include "host/host_interface.h"
#include "host/hud_textures.h"
#include "host/keyboard.h"
#include "hud/hud_drawers.h"
#include "hud/shadow_text.h"
#include "screen/shown_for_a_while.h"
#include "screen/units.h"
#include "texdict/hud_texture_names.h"

#include <cstdio>

namespace {

// Out for outTime after P, the first 512 ms of it sliding up; sliding down for 512 ms after O.
constexpr int32_t slideTime = 512;
constexpr int32_t outTime = 100000 + slideTime;
constexpr Rgba white{255, 255, 255, 255};
constexpr Rgba shadow{0, 0, 0, 255};

// The phone's picture between 'bottom' and 'top' units above the screen's bottom edge.
void drawPhoneAt(float bottom, float top) {
    const float w = host::screenWidth();
    const float h = host::screenHeight();
    host::drawSprite(hudTextures.phoneSprite,
                     {w - Unit1080(346), h - Unit1080(bottom), w - Unit1080(90), h - Unit1080(top)},
                     white);
}

// The time of day on the phone's screen, in layout units from the lower right corner.
void drawClock(float right, float bottom) {
    host::textSwitch1C80();
    host::textSwitch1CB0();
    host::textSwitch1CF0();
    host::setTextScale(UnitX(hudSettings.CLOCK_SCALE.x), UnitY(hudSettings.CLOCK_SCALE.y));
    host::textSwitch1D40();
    host::textSwitch1D90();
    host::setFont(0);
    host::setRightJustifyOn();
    host::setRightJustifyWidth(0.0f);

    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d", host::clockHour(), host::clockMinute());
    char16_t hostText[16];
    host::asciiToHostText(text, hostText);
    const float x = host::screenWidth() - UnitX(right);
    const float y = host::screenHeight() - UnitY(bottom);
    printShadowed(hostText, shadow, {x + UnitX(2), y + UnitY(2)}, hudSettings.colors.CLOCK_COLOR,
                  {x, y});
}

// Out for its time after P, sliding up at first; sliding down for a moment after O.
struct PhoneTimer {
    ShownForAWhile out;
    ShownForAWhile slidingDown;
};
PhoneTimer phoneTimer;

} // namespace

void putPhoneAway() {
    phoneTimer = {};
}

void drawPhone() {
    const bool classic = hudSettings.RADAR_TYPE == 1;
    const float right = classic ? hudSettings.CLOCK_RIGHT + 5 : hudSettings.CLOCK_RIGHT;
    hudTextures.phoneSprite.texture =
        hudTextures.phoneDictionary
            ? host::findTexture(hudTextures.phoneDictionary,
                                classic ? classicPhoneTexture : phoneTexture)
            : nullptr;

    const uint32_t now = host::gameClock();
    PhoneTimer& timer = phoneTimer;
    if (keyDown('P') && timeSinceTrigger(timer.out, now) >= outTime) trigger(timer.out, now);
    if (keyDown('O')) {
        // Its last frame out is this one.
        trigger(timer.out, now - outTime);
        trigger(timer.slidingDown, now);
    }

    if (shownAt(timer.out, now, outTime)) {
        const auto r = static_cast<int32_t>(outTime - timeSinceTrigger(timer.out, now));
        if (r >= outTime - slideTime) {
            drawPhoneAt(static_cast<float>(99888 - r), static_cast<float>(100400 - r));
            drawClock(right, hudSettings.CLOCK_BOTTOM - 512 + static_cast<float>(outTime - r));
        } else {
            drawPhoneAt(-112, 400);
            drawClock(right, hudSettings.CLOCK_BOTTOM);
        }
    }
    if (shownAt(timer.slidingDown, now, slideTime)) {
        const auto r2 = static_cast<int32_t>(slideTime - timeSinceTrigger(timer.slidingDown, now));
        drawPhoneAt(static_cast<float>(r2 - 624), static_cast<float>(r2 - 112));
        drawClock(right, static_cast<float>(static_cast<double>(hudSettings.CLOCK_BOTTOM) -
                                            (slideTime - r2)));
    }
}
