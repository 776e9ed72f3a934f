// The weapon wheel: while the weapon-change inputs are worked and for a second after, the ring,
// a selector turned to the current weapon, its name, and a segment for each carried weapon.
#include "config/hud_settings.h"
#include "host/hud_textures.h"
#include "host/keyboard.h"
#include "texdict/hud_texture_names.h"
#include "wheels/screen_metrics.h"
#include "wheels/wheel_shared.h"
#include "wheels/wheel_state.h"

#include <windows.h>

namespace {

constexpr uint32_t shownFor = 1000; // ms after the last trigger
constexpr Rgba white{255, 255, 255, 255};

ScreenQuad toScreen(const QuadCorners& q) {
    return {static_cast<float>(q.x1), static_cast<float>(q.y1), static_cast<float>(q.x2),
            static_cast<float>(q.y2), static_cast<float>(q.x3), static_cast<float>(q.y3),
            static_cast<float>(q.x4), static_cast<float>(q.y4)};
}

void readPlayer(const uint8_t* player) {
    for (int record = 1; record < host::weaponRecordCount; ++record)
        weaponPresent[record] =
            player && static_cast<uint8_t>(host::weaponTypeOfRecord(player, record)) != 0;
    currentWeaponIndex = player ? host::currentWeaponRecord(player) : 0;
}

// A current record index beyond the player's records names nothing.
const std::string& currentWeaponName(const uint8_t* player) {
    if (currentWeaponIndex >= host::weaponRecordCount) return nameAt(weaponNameTable, -1);
    return nameAt(weaponNameTable, host::weaponTypeOfRecord(player, currentWeaponIndex));
}

} // namespace

void runWeaponWheel() {
    const uint8_t* player = host::playerActor();
    readPlayer(player);

    auto& ring = hudTextures.weaponWheelSprites[0];
    auto& selector = hudTextures.weaponWheelSprites[1];
    ring.texture = host::findTexture(hudTextures.ringDictionary, wheelRingTexture);
    selector.texture = host::findTexture(hudTextures.ringDictionary, wheelSelectorTexture);

    fillNameTable(hudSettings.WEAPON_NAMES, weaponNameTable);

    const uint32_t now = host::gameClock();
    const bool triggered = keyDown(VK_MBUTTON) || keyDown('1') || host::mouseWheelTurned();
    const bool block = keyDown('2') || keyDown(VK_RBUTTON);
    if (triggered && !block) trigger(weaponWheelShown, now);

    weaponWheelVisible = shownAt(weaponWheelShown, now, shownFor) && !block && !radioWheelVisible;
    if (!weaponWheelVisible) return;

    const ScreenQuad fixedQuad = toScreen(screenMetrics.fixedQuad);
    host::drawSpriteQuad(ring, fixedQuad, hudSettings.colors.WHEEL_BG);
    host::drawSpriteQuad(selector, toScreen(screenMetrics.selectorQuad),
                         hudSettings.colors.WHEELINDICATOR);

    // Without a player there is no current weapon to name.
    if (player) {
        host::setCentreOn();
        host::setTextColour(white);
        host::setFont(2);
        printWheelCaption(currentWeaponName(player));
    }

    for (int record = 1; record <= 11; ++record)
        if (weaponPresent[record])
            host::drawSpriteQuad(hudTextures.ringSprites[record], fixedQuad, white);
    // The last segment shows a carried weapon, otherwise the empty segment 0.
    host::drawSpriteQuad(hudTextures.ringSprites[weaponPresent[12] ? 12 : 0], fixedQuad, white);
}
