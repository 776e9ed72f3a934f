// What the player aims with: the crosshair at the aim point, a centred crosshair in first-person
// rocket views, the pulsing rocket sight and the four-part sniper scope.
#include "config/hud_settings.h"
#include "host/host_interface.h"
#include "host/hud_textures.h"
#include "host/keyboard.h"
#include "hud/hud_drawers.h"
#include "screen/units.h"

#include <windows.h>

#include <cmath>

namespace {

constexpr Rgba white{255, 255, 255, 255};
constexpr int strongest = 30; // frames for the crosshair to reach full strength

// States the actor cannot aim from, as the game counts them.
constexpr uint8_t cannotMouseAimState = 0x2C;
constexpr uint8_t cannotAimState = 0x34;

// The game has three camera records; any other index it leaves behind reads the last one.
const uint8_t* activeCamera() {
    int index = host::activeCameraIndex();
    if (index >= host::cameraCount) index = host::cameraCount - 1;
    return host::cameraRecord(index);
}

// The weapon type the player holds, 0 for none.
int32_t heldWeaponType(const uint8_t* player) {
    if (!player) return 0;
    const int record = host::currentWeaponRecord(player);
    if (record >= host::weaponRecordCount) return 0;
    return host::weaponTypeOfRecord(player, record);
}

bool IsMouseAimCamera(const uint8_t* camera) {
    if (!host::mouseAimEnabled()) return false;
    const int mode = host::cameraMode(camera);
    if (mode == 4) return true;
    const uint8_t* player = host::playerActor();
    return host::aimingWithMouse() && player && host::actorState(player) != cannotMouseAimState &&
           mode != 1 && host::cameraTarget(camera) == player;
}

bool isGunAimedFromBehind(int32_t weaponType) {
    return (weaponType >= 2 && weaponType <= 6) || weaponType == 9;
}

// Sways between 0.5 and 1.0 of the strength once every 1024 ms.
double pulseOf(int32_t strength) {
    const float angle = static_cast<float>(host::gameClock() & 1023) * 0.0009765625f * 6.28f;
    return strength * 0.03 * (std::sin(static_cast<double>(angle)) * 0.25 + 0.75);
}

void drawAimCrosshair(const uint8_t* player, int32_t weaponType) {
    const float w = host::screenWidth();
    const float h = host::screenHeight();
    float cx = w * host::aimPointX();
    float cy = h * host::aimPointY();
    // Classic aiming shows the crosshair only while the right button is held.
    if (hudSettings.USING_CLASSIC_AXIS && !keyDown(VK_RBUTTON)) {
        cx = 2 * w;
        cy = 2 * h;
    }
    const float size = player && weaponType == 6 ? 19.2f : 12.8f;
    const float halfX = UnitX(size);
    const float halfY = UnitY(size);
    host::drawSprite(hudTextures.ringSprites[CrosshairSprite],
                     {cx - halfX, cy + halfY, cx + halfX, cy - halfY}, white);
}

void drawCentredCrosshair() {
    const float cx = host::screenWidth() / 2;
    const float cy = host::screenHeight() / 2;
    host::drawSprite(hudTextures.ringSprites[CrosshairSprite],
                     {cx - UnitX(32), cy + UnitY(32), cx + UnitX(32), cy - UnitY(32)}, white);
}

void drawRocketSight(double pulse) {
    const void* texture = hudTextures.ringSprites[RocketSightSprite].texture;
    if (!texture) return; // no picture to tint
    host::setRenderState(12, 1);
    host::setRenderState(10, 2);
    host::setRenderState(11, 2);
    host::setRenderState(8, 0);
    host::setRenderState(6, 0);
    host::setRenderState(1, host::textureRaster(texture));
    const auto redBlue = static_cast<uint8_t>(truncateToInt(pulse * 100));
    const auto green = static_cast<uint8_t>(truncateToInt(pulse * 200));
    const float cx = host::screenWidth() / 2;
    const float cy = host::screenHeight() / 2;
    host::drawTintedSprite(cx, cy, cx, UnitX(40), UnitY(40), redBlue, green, redBlue, 255, 1.0f,
                           255);
}

// Four copies of one quarter; a left past the right or a bottom above the top mirrors it.
void drawSniperScope() {
    HostSprite& quarter = hudTextures.ringSprites[SniperSightSprite];
    const float cx = host::screenWidth() / 2;
    const float cy = host::screenHeight() / 2;
    const float left = cx - UnitX(210);
    const float right = cx + UnitX(210);
    const float top = cy - UnitY(210);
    const float bottom = cy + UnitY(210);
    host::drawSprite(quarter, {left, cy, cx, top}, white);
    host::drawSprite(quarter, {right, cy, cx, top}, white);
    host::drawSprite(quarter, {left, cy, cx, bottom}, white);
    host::drawSprite(quarter, {right, cy, cx, bottom}, white);
}

} // namespace

void drawCrosshair() {
    if (host::hudSuppressed() || host::hudShownByte() == 0 || host::menuShown()) return;

    const uint8_t* player = host::playerActor();
    const int32_t weaponType = heldWeaponType(player);
    const uint8_t* camera = activeCamera();
    const int mode = host::cameraMode(camera);
    const bool mouseAim = IsMouseAimCamera(camera);

    const bool scopeView = mode == 7 || mode == 8 || mode == 34 || mode == 44;
    bool aimView = mode == 38 || mode == 39 || mode == 41;
    if ((mouseAim && (host::padQuery(host::pad(0)) == 0 || host::aimingWithMouse())) ||
        mode == 40) {
        if (player && host::actorState(player) != cannotAimState &&
            isGunAimedFromBehind(weaponType))
            aimView = true;
    }
    int32_t& strength = host::crosshairStrength();
    if (!scopeView && !aimView) {
        strength = 0;
        return;
    }

    host::setRenderState(9, 2);
    if (strength < strongest) ++strength;
    if (strength > strongest) strength = strongest;
    host::setRenderState(8, 0);
    const double pulse = pulseOf(strength);

    if (aimView && mouseAim)
        drawAimCrosshair(player, weaponType);
    else if (mode == 34 || mode == 40 || mode == 44)
        drawCentredCrosshair();
    else if (mode == 8 || mode == 39)
        drawRocketSight(pulse);
    else
        drawSniperScope();

    host::setRenderState(9, 2);
    host::setRenderState(10, 5);
    host::setRenderState(11, 6);
}
