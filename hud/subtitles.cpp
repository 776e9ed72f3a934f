// The subtitle line at the bottom centre, light grey on a half-transparent background.
#include "config/hud_settings.h"
#include "hud/hud_drawers.h"
#include "hud/message_slots.h"
#include "screen/units.h"

void drawSubtitles() {
    const char16_t* text = &host::global<char16_t>(&HostAddresses::subtitleText);
    const bool withMenu = host::global<uint8_t>(&HostAddresses::subtitlesWithMenu) == 1;
    if (text[0] == 0 || !messageEmpty(wastedBustedSlot) || !(withMenu || !host::menuShown()))
        return;

    const auto& s = hudSettings;
    host::textSwitch1C80();
    host::textSwitch1CF0();
    host::setTextBackgroundColour({0, 0, 0, 128});
    host::setTextScale(UnitX(s.SUBTEXT_SCALE.x), UnitY(s.SUBTEXT_SCALE.y));
    host::setCentreOn();
    host::textSwitch1DA0();
    host::setWrapWidth(UnitX(200.0f));
    host::setFont(0);

    // The margins leave room for the HUD's own elements only while the HUD is there.
    const bool hudOn = host::hudShownByte() != 0 && !host::menuShown();
    const float marginLeft = hudOn ? s.SUBTITLE_OFFSET_L : 40.0f;
    const float marginRight = hudOn ? s.SUBTITLE_OFFSET_R : 50.0f;
    const float left = UnitX(marginLeft) + UnitX(8.0f);
    const float width = host::screenWidth() - UnitX(marginRight) - UnitX(8.0f) - left;
    host::setCentreWidth(width);
    host::setDropShadowOffset(1);
    host::setDropShadowColour({0, 0, 0, 255});
    host::setTextColour({235, 235, 235, 255});
    host::printHostText(width * 0.5f + left - UnitX(1.0f),
                        host::screenHeight() - UnitY(s.SUBTITLE_BOTTOM) + UnitY(4.0f) - UnitY(1.0f),
                        text);
    host::setDropShadowOffset(0);
}
