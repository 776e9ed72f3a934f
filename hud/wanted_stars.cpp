#include "config/hud_settings.h"
#include "host/host_interface.h"
#include "host/hud_textures.h"
#include "hud/hud_drawers.h"
#include "screen/units.h"

namespace {

constexpr int starSlots = 6;
constexpr uint32_t blinkTime = 2000;
constexpr Rgba emptySlot{0, 0, 0, 200};

// Steady from two seconds after the level last changed; before that four frames on, four off.
// The time since the change is an unsigned difference, so a change stamped on a clock that has
// since gone back (a saved game loaded) counts as long past.
bool starsVisible(const uint8_t* actor) {
    if (host::wantedLevel(actor) == 0) return false;
    return host::gameClock() - host::wantedLevelChangedAt(actor) > blinkTime ||
           (host::frameCounter() & 4) != 0;
}

// Star 0 is the rightmost. Each edge is cut to whole pixels on its own.
void drawStar(int star, const Rgba& colour) {
    const auto& s = hudSettings;
    const float fromRight = s.WANTED_POS_RIGHT + star * s.WANTED_STAR_SPACE;
    const float w = host::screenWidth();
    const float right = w - Unit1080(fromRight);
    const float left =
        w - Unit1080(s.WANTED_POS_RIGHT + s.WANTED_STAR_SCALE.x + star * s.WANTED_STAR_SPACE);
    const float top = Unit1080(s.WANTED_POS_TOP);
    const float bottom = Unit1080(s.WANTED_POS_TOP + s.WANTED_STAR_SCALE.y);
    host::drawSpriteQuad(hudTextures.mainSprites[StarSprite],
                         {left, bottom, right, bottom, left, top, right, top}, colour);
}

} // namespace

void drawWantedStars() {
    const uint8_t* actor = host::playerActor();
    if (!actor) return;
    if (starsVisible(actor))
        for (int star = 0; star < starSlots; ++star)
            drawStar(star, emptySlot);
    for (int star = 0; star < starSlots; ++star)
        if (static_cast<uint32_t>(star) < host::wantedLevel(actor) && starsVisible(actor))
            drawStar(star, hudSettings.colors.WANTED_COLOR);
}
