// The mission title at the lower right; it moves up by titleOffset while mission timers show.
#include "config/hud_settings.h"
#include "hud/hud_drawers.h"
#include "hud/message_slots.h"
#include "hud/shadow_text.h"
#include "screen/units.h"

namespace {

// The game's own large-title option, or its largest text size.
bool largeTitle() {
    return host::movedGlobal<uint8_t>(&HostAddresses::largeMissionTitle) != 0 ||
           host::global<uint8_t>(&HostAddresses::textSizeSetting) == 4;
}

} // namespace

void drawMissionTitle(int titleOffset) {
    uint8_t alpha = 0;
    if (!slideAndHold(missionTitleSlot, alpha)) return;
    const auto& s = hudSettings;
    const FloatPair scale = largeTitle() ? FloatPair{0.884f, 1.36f} : s.BIGTEXT_SCALE;
    host::textSwitch1C80();
    host::textSwitch1CF0();
    host::setTextScale(UnitX(scale.x), UnitY(scale.y));
    host::textSwitch1DA0();
    host::setRightJustifyWidth(UnitX(-500.0f));
    host::setRightJustifyOn();
    host::setFont(nameFont(s.ZONE_VEHICLE_FONT));

    const float right = host::screenWidth() - UnitX(s.MISSION_RIGHT);
    const float bottom = host::screenHeight() - UnitY(titleOffset + s.MISSION_BOTTOM);
    printShadowed(messageText(missionTitleSlot), {40, 40, 40, alpha},
                  {right + UnitX(2.0f), bottom + UnitY(2.0f)},
                  withAlpha(s.colors.MISSIONTITLE_COLOR, alpha), {right, bottom});
}
