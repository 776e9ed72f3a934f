// The radar's frame in the lower left corner, the game's own radar contents drawn inside it, and
// the health and armour bars beside it. Lengths are in units of a 1080-pixel short side.
#include "config/hud_settings.h"
#include "host/host_interface.h"
#include "host/hud_textures.h"
#include "hud/hud_drawers.h"
#include "hud/message_slots.h"
#include "screen/exact_arithmetic.h"
#include "screen/units.h"

namespace {

constexpr Rgba white{255, 255, 255, 255};
constexpr uint8_t radarFlashing = 8; // the game flashes the radar with its health and armour
constexpr uint32_t healthOffset = 0x2C0;
constexpr uint32_t armourOffset = 0x2C4;

// A sprite from left to right and between two heights above the screen bottom.
void drawAboveBottom(HostSprite& sprite, float left, float right, float lower, float upper,
                     const Rgba& colour) {
    const float h = host::screenHeight();
    const float x1 = Unit1080(left);
    const float x2 = Unit1080(right);
    const float y1 = h - Unit1080(lower);
    const float y2 = h - Unit1080(upper);
    host::drawSpriteQuad(sprite, {x1, y1, x2, y1, x1, y2, x2, y2}, colour);
}

// A bar grows to the right from its left end; an empty one is not drawn.
void drawBar(float length, FloatPair position, const Rgba& colour) {
    if (!(length > 0.0f)) return;
    const float px = truncated(position.x);
    const float py = truncated(position.y);
    drawAboveBottom(hudTextures.mainSprites[BarSprite], px, roundedToFloat(px + length), py,
                    roundedToFloat(py + hudSettings.BAR_THICKNESS), colour);
}

// A value of the player's as a whole number from 0 to 100; 0 while there is no player.
float percentOf(uint32_t offset) {
    const uint8_t* player = host::global<uint8_t*>(&HostAddresses::radarPlayerActor);
    if (!player) return 0.0f;
    const int32_t value = truncateToInt(*reinterpret_cast<const float*>(player + offset));
    return static_cast<float>(value < 0 ? 0 : value > 100 ? 100 : value);
}

float barLength(float value) {
    return roundedToFloat(roundedToFloat(value * hudSettings.BAR_LENGTH_MULTIPLIER) + value);
}

} // namespace

void drawRadarFrame() {
    const auto& s = hudSettings;
    const bool flashing = host::global<uint8_t>(&HostAddresses::radarFlashingItem) == radarFlashing;
    // Eight frames on, eight off.
    if (!flashing || (host::frameCounter() & 8) != 0) {
        const float healthLength = barLength(percentOf(healthOffset));
        const float armourLength = barLength(percentOf(armourOffset));

        host::setRenderState(11, 6);
        drawAboveBottom(hudTextures.mainSprites[RadarFrameSprite],
                        truncated(s.OUTER_RADAR_SCALE_A.x), truncated(s.OUTER_RADAR_SCALE_A.y),
                        truncated(s.OUTER_RADAR_SCALE_B.x), truncated(s.OUTER_RADAR_SCALE_B.y),
                        white);
        host::radarDrawBlips();
        drawBar(armourLength, s.BAR_ARMOR_POS_X_Y, s.colors.RADAR_ARMOR_COLOR);
        drawBar(healthLength, s.BAR_HEALTH_POS_X_Y, s.colors.RADAR_HEALTH_COLOR);
        host::radarDrawMap();
    }

    if (host::global<uint8_t>(&HostAddresses::radarSpritesGate) != 0 && !host::menuShown() &&
        messageEmpty(centreMessageSlot) && messageEmpty(wastedBustedSlot))
        host::radarDrawSprites();
}
