#include "config/hud_settings.h"
#include "host/host_interface.h"
#include "host/hud_textures.h"
#include "hud/hud_drawers.h"
#include "screen/units.h"

#include <algorithm>

namespace {

// The game's own pager state, kept where its code (and the help box) reads it.
enum PagerStep : uint8_t { Hidden = 0, Shown = 1, SlidingOut = 2 };
constexpr float outOfView = 150.0f;
constexpr int pagerBeep = 96;

// Slides in slowing down (a tenth of the way left per tick, at most 10 units); slides out
// speeding up (a tenth of the way out, at least 2 units a frame, whatever the frame time).
void slide(uint8_t& step, uint8_t& beeped, float& offset) {
    if (step == Hidden) {
        step = Shown;
        offset = outOfView;
    }
    if (step == Shown) {
        if (offset > 0.0f) offset -= host::frameTick() * std::min(10.0, offset * 0.1);
        if (beeped == 0) {
            host::playSound(pagerBeep, 0);
            beeped = 1;
        }
    } else if (step == SlidingOut) {
        offset += std::max(2.0, offset * 0.1);
        if (offset > outOfView) {
            offset = outOfView;
            step = Hidden;
        }
    }
}

} // namespace

void drawPager() {
    const char16_t* text = &host::global<char16_t>(&HostAddresses::pagerText);
    auto& step = host::global<uint8_t>(&HostAddresses::pagerStep);
    auto& beeped = host::global<uint8_t>(&HostAddresses::pagerBeeped);
    auto& offset = host::global<float>(&HostAddresses::pagerOffset);

    // The message ended: turn round from wherever the pager is, and beep for the next one.
    if (text[0] == 0 && step == Shown) {
        beeped = 0;
        step = SlidingOut;
    }
    if (text[0] == 0 && step != SlidingOut) return;
    slide(step, beeped, offset);

    const double w = host::screenWidth();
    const double h = host::screenHeight();
    const auto right = static_cast<float>((146.0 - offset) * w / 640.0 * (4.0 / 3.0) / (w / h));
    host::drawSprite(hudTextures.ringSprites[PagerSprite],
                     {UnitX(26.0f - offset), UnitY(87.0f), right, UnitY(27.0f)},
                     {255, 255, 255, 255});

    const auto& s = hudSettings;
    host::textSwitch1CF0();
    host::setTextScale(UnitX(s.SUBTEXT_SCALE.x), UnitY(s.SUBTEXT_SCALE.y));
    host::setTextColour(s.colors.PAGER_COLOR);
    host::textSwitch1D70();
    host::textSwitch1CF0();
    host::textSwitch1CB0();
    host::textSwitch1C80();
    host::textSwitch1D90();
    host::setFont(1);
    host::printHostText(UnitX(52.0f - offset), UnitY(54.0f), text);
}
