// The radio wheel: in a vehicle with a radio, while R or 2 is worked and for three seconds
// after, the current station's icon and name. Holding X hands the station 10 to the game.
#include "config/hud_settings.h"
#include "host/hud_textures.h"
#include "host/keyboard.h"
#include "screen/units.h"
#include "wheels/format_text.h"
#include "wheels/wheel_shared.h"
#include "wheels/wheel_state.h"

#include <windows.h>

namespace {

constexpr uint32_t shownFor = 3000; // ms after the last trigger
constexpr unsigned lastStation = 10;
constexpr int heldStation = 10; // what holding X tunes to

} // namespace

void runRadioWheel() {
    const uint8_t* vehicle = host::playerVehicle();
    const auto station = static_cast<uint8_t>(vehicle ? host::vehicleRadioStation(vehicle) : 0);
    const bool active = vehicle && host::radioAvailable();

    fillNameTable(hudSettings.RADIO_NAMES, radioNameTable);

    if (station <= lastStation)
        hudTextures.radioWheelSprite.texture = host::findTexture(
            hudTextures.radioDictionary, formatText("%u", static_cast<unsigned>(station)));

    if (!active || station > lastStation) {
        radioWheelVisible = false;
        return;
    }

    const uint32_t now = host::gameClock();
    if (keyDown('X')) {
        host::setRadioStation(heldStation);
    } else {
        const bool triggered = keyDown('R') || (keyDown('2') && !host::mouseWheelTurned());
        // Middle button and 1 together change weapons, not stations.
        const bool weaponChange = keyDown(VK_MBUTTON) && keyDown('1');
        if (triggered && !weaponChange) trigger(radioWheelShown, now);
    }

    radioWheelVisible = shownAt(radioWheelShown, now, shownFor) && !weaponWheelVisible;
    if (!radioWheelVisible) return;

    const float a = UnitX(hudSettings.RADIO_WHEEL_SCALE);
    const float b = UnitY(hudSettings.RADIO_WHEEL_SCALE);
    const float centreX = host::screenWidth() / 2.0f;
    const float centreY = host::screenHeight() / 2.0f;
    const ScreenRect icon{centreX - a, centreY + b, centreX + a, centreY - b};

    host::setCentreOn();
    host::setFont(2);
    host::setTextColour({255, 255, 255, 255});
    printWheelCaption(nameAt(radioNameTable, station));

    host::drawSprite(hudTextures.radioWheelSprite, icon, {255, 255, 255, 192});
}
