// Two odd-job messages at the centre and the odd-job result line under them.
#include "hud/odd_job_messages.h"
#include "config/hud_settings.h"
#include "hud/message_slots.h"
#include "hud/shadow_text.h"
#include "screen/units.h"

#include <algorithm>

namespace {

constexpr Rgba black{0, 0, 0, 255};

// The two messages differ in centring width and in the side their shadow falls on (+1 below
// right, -1 above left).
void drawOddJobMessage(int slot, float centreWidth, float shadowSide) {
    const auto& s = hudSettings;
    host::textSwitch1C80();
    host::textSwitch1CF0();
    host::setTextScale(UnitX(s.BIGTEXT_SCALE.x), UnitY(s.BIGTEXT_SCALE.y));
    host::setCentreOn();
    host::textSwitch1DA0();
    host::setCentreWidth(UnitX(centreWidth));
    host::setFont(0);
    const TextPoint at{host::screenWidth() / 2, host::screenHeight() / 2 - UnitY(s.ODDJOB_CENTRE)};
    printShadowed(messageText(slot), black,
                  {at.x + shadowSide * UnitX(2.0f), at.y + shadowSide * UnitY(2.0f)},
                  s.colors.ODDJOB_COLOR, at);
}

// The game's result sequence: the line comes in (1), shows (2, the game moves it on), goes
// out (3), then waits five seconds before the next result.
void advanceResultLine(float& delay) {
    auto& stage = host::global<int8_t>(&HostAddresses::resultStep);
    auto& position = host::global<float>(&HostAddresses::resultPosition);
    auto& shown = host::global<int8_t>(&HostAddresses::resultByte);
    switch (stage) {
    case 0:
        position = 380.0f;
        stage = 1;
        break;
    case 1:
        if (position <= 2.0f) {
            shown = 0;
            stage = 2;
        } else {
            position -= std::min(40.0f, position / 6.0f);
        }
        break;
    case 2:
        shown = static_cast<int8_t>(truncateToInt(shown + host::frameTick() * 20.0f));
        break;
    case 3:
        position -= std::max(30.0f, position / 5.0f);
        if (position < -380.0f) {
            delay = 5000.0f;
            stage = 0;
        }
        break;
    default:
        break;
    }
}

void drawResultLine() {
    auto& delay = host::global<float>(&HostAddresses::resultDelay);
    if (delay > 0.0f) delay -= host::frameMilliseconds();
    if (messageEmpty(oddJobResultSlot) || delay > 0.0f) return;
    advanceResultLine(delay);
    if (!messageEmpty(missionTitleSlot)) return;

    const auto& s = hudSettings;
    const float w = host::screenWidth();
    const float h = host::screenHeight();
    const char16_t* text = messageText(oddJobResultSlot);
    host::textSwitch1C80();
    host::textSwitch1CF0();
    host::setTextScale(UnitX(s.HUD_SCALE.x), UnitY(s.HUD_SCALE.y));
    host::setCentreOn();
    host::textSwitch1DA0();
    host::setCentreWidth(w - UnitX(20.0f));
    host::setTextColour(black);
    host::setFont(0);
    host::printHostText(w / 2 + UnitX(2.0f), h / 2 - UnitY(s.ODDJOB_RESULT_CENTRE) + UnitY(2.0f),
                        text);
    printInColour(text, s.colors.ODDJOB2_COLOR, {w / 2, h / 2 - UnitY(s.ODDJOB_RESULT_CENTRE)});
}

} // namespace

void drawOddJobMessages() {
    if (!messageEmpty(oddJobSlot)) drawOddJobMessage(oddJobSlot, 600.0f, 1.0f);
    // Both give way to a mission title.
    if (messageEmpty(missionTitleSlot) && !messageEmpty(secondOddJobSlot))
        drawOddJobMessage(secondOddJobSlot, 620.0f, -1.0f);
    drawResultLine();
}
