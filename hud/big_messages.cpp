// The centre message and the wasted or busted message.
#include "config/hud_settings.h"
#include "hud/hud_drawers.h"
#include "hud/message_slots.h"
#include "hud/shadow_text.h"
#include "screen/units.h"

namespace {

void drawCentreMessage() {
    uint8_t alpha = 0;
    if (!slideAndHold(centreMessageSlot, alpha)) return;
    const auto& s = hudSettings;
    const float w = host::screenWidth();
    const float h = host::screenHeight();
    host::textSwitch1C80();
    host::textSwitch1CF0();
    host::textSwitch1D40();
    host::setTextScale(UnitX(s.MISSION_BUSTED_WASTED_SCALE.x),
                       UnitY(s.MISSION_BUSTED_WASTED_SCALE.y));
    host::textSwitch1DA0();
    host::setCentreOn();
    host::setCentreWidth(UnitX(615.0f));
    host::setFont(2);
    printShadowed(messageText(centreMessageSlot), {0, 0, 0, alpha},
                  {w / 2 + UnitX(2.0f), h / 2 - UnitY(20.0f) + UnitY(2.0f)},
                  withAlpha(s.colors.BIGMESSAGE_COLOR, alpha), {w / 2, h / 2 - UnitY(18.0f)});
}

// Waits for the centre message to go, then fades in over one second; the game removes it.
void drawWastedOrBusted() {
    float& hold = messageHold(wastedBustedSlot);
    float& opacity = messageOpacity(wastedBustedSlot);
    if (messageEmpty(wastedBustedSlot) || !messageEmpty(centreMessageSlot)) {
        hold = 0.0f;
        return;
    }
    if (hold == 0.0f) {
        opacity = 0.0f;
        hold = 1.0f;
        return;
    }
    opacity += host::frameTick() / 50.0f * 255.0f;
    if (opacity > 255.0f) opacity = 255.0f;
    const uint8_t alpha = alphaOf(opacity);

    const auto& s = hudSettings;
    host::textSwitch1CF0();
    host::setTextScale(UnitX(s.MISSION_BUSTED_WASTED_SCALE.x),
                       UnitY(s.MISSION_BUSTED_WASTED_SCALE.y));
    host::textSwitch1DA0();
    host::setRightJustifyOn();
    host::setFont(2);
    host::setDropShadowOffset(2);
    host::setDropShadowColour({0, 0, 0, alpha});
    // Right-justified: the text ends the offset right of the centre.
    printInColour(messageText(wastedBustedSlot), withAlpha(s.colors.WASTEDBUSTED_COLOR, alpha),
                  {host::screenWidth() / 2 + UnitX(s.WASTED_BUSTED_OFFSET),
                   host::screenHeight() / 2 - UnitY(18.0f)});
}

} // namespace

void drawBigMessages() {
    drawCentreMessage();
    drawWastedOrBusted();
}
