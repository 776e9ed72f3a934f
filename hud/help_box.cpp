// The help box at the upper left: shows with a sound, stays for a time that grows with the
// text, then fades. Its state lives in the game's own help-box variables.
#include "config/hud_settings.h"
#include "hud/hud_drawers.h"
#include "hud/message_slots.h"
#include "hud/odd_job_messages.h"
#include "screen/units.h"

namespace {

constexpr int helpTextUnits = 256;
constexpr int helpSound = 160;
constexpr float fullFade = 600.0f;
constexpr float shownAlpha = 225.0f;
constexpr Rgba helpGrey{175, 175, 175, 255};

enum BoxState : int32_t { idle = 0, shown = 1, fadingIn = 2, fadingOut = 3, makingWay = 4 };

struct HelpBox {
    int32_t& state;
    int32_t& timer;  // milliseconds
    int32_t& fade;   // 0..600
    float& duration; // seconds
};

HelpBox helpBox() {
    return {host::global<int32_t>(&HostAddresses::helpState),
            host::global<int32_t>(&HostAddresses::helpTimer),
            host::global<int32_t>(&HostAddresses::helpFade),
            host::global<float>(&HostAddresses::helpDuration)};
}

char16_t* hostText(uint32_t HostAddresses::*field) {
    return &host::global<char16_t>(field);
}

// An idle box takes the new text at once, with the help sound; a busy one fades its text out
// first and shows the new one without a sound.
void takeNewText(const HelpBox& box, const char16_t* current) {
    char16_t* displayed = hostText(&HostAddresses::helpDisplayed);
    if (box.state == idle) {
        box.fade = 0;
        box.state = fadingIn;
        box.timer = 0;
        host::hostTextCopy(displayed, current, helpTextUnits);
        box.duration = static_cast<float>(host::hostTextLength(displayed) * 0.05 + 3.0);
        if (host::global<float>(&HostAddresses::helpSoundGate) == 0.0f)
            host::playSound(helpSound, 0);
    } else if (box.state >= shown && box.state <= makingWay) {
        box.timer = 5;
        box.state = makingWay;
    }
    host::hostTextCopy(hostText(&HostAddresses::helpLastSeen), current, helpTextUnits);
}

// Moves the box on by one frame; the result is its opacity.
float advance(const HelpBox& box, float step) {
    switch (box.state) {
    case shown: {
        box.fade = static_cast<int32_t>(fullFade);
        const bool shortened = host::global<uint8_t>(&HostAddresses::helpShortened) != 0;
        if (box.timer > box.duration * 1000.0f || (shortened && box.timer > 1500)) {
            box.fade = static_cast<int32_t>(fullFade);
            box.state = fadingOut;
        }
        return shownAlpha;
    }
    case fadingIn:
        box.fade = truncateToInt(box.fade + 2.0f * step);
        if (box.fade > 0) {
            box.state = shown;
            box.fade = 0;
        }
        break;
    case fadingOut:
    case makingWay:
        box.fade = truncateToInt(box.fade - 2.0f * step);
        if (box.fade < 0) {
            box.fade = 0;
            if (box.state == fadingOut) {
                box.state = idle;
            } else {
                box.state = fadingIn;
                host::hostTextCopy(hostText(&HostAddresses::helpDisplayed),
                                   hostText(&HostAddresses::helpLastSeen), helpTextUnits);
            }
        }
        break;
    default:
        return 0.0f;
    }
    return static_cast<float>(box.fade * 0.001 * shownAlpha);
}

void drawHelpBox() {
    const char16_t* current = hostText(&HostAddresses::helpText);
    if (current[0] == 0) return;
    const HelpBox box = helpBox();
    if (!host::hostTextEqual(current, hostText(&HostAddresses::helpLastSeen), helpTextUnits))
        takeNewText(box, current);
    if (box.state == idle) return;
    const float step = host::frameMilliseconds();
    const float alpha = advance(box, step);
    box.timer = truncateToInt(box.timer + step);

    const auto& s = hudSettings;
    FloatPair scale = s.TEXT_BOX_TEXT_SCALE;
    if (host::movedGlobal<uint8_t>(&HostAddresses::smallHelpTextFlag) != 0) {
        scale.x *= 0.85f;
        scale.y *= 0.85f;
    }
    host::setTextAlpha(alpha);
    host::textSwitch1CB0();
    host::textSwitch1DA0();
    host::setTextScale(UnitX(scale.x), UnitY(scale.y));
    host::setTextColour(helpGrey);
    host::textSwitch1C80();
    host::setWrapWidth(UnitX(s.TEXT_BOX_WIDTH + 200.0f - 4.0f));
    host::setFont(0);
    host::textSwitch1CE0();
    host::textSwitch1D40();
    host::setTextBackgroundColour({0, 0, 0, alphaOf(alpha * 0.4f)});
    host::setTextColour(helpGrey);
    // The box follows the pager: lower while the pager is out (offset 0), higher when hidden.
    const float pagerOffset = host::global<float>(&HostAddresses::pagerOffset);
    host::printHostText(UnitX(26.0f), UnitY((150.0f - pagerOffset) * 0.6f + 28.0f),
                        hostText(&HostAddresses::helpDisplayed));
    host::setTextAlpha(255.0f);
}

} // namespace

void drawHelpBoxAndOddJobs() {
    if (host::movedGlobal<uint8_t>(&HostAddresses::helpBoxHiddenFlag) != 0 ||
        host::global<uint8_t>(&HostAddresses::hudSuppressed) == 1)
        return;
    drawHelpBox();
    drawOddJobMessages();
}
