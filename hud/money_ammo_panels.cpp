#include "hud/money_ammo_panels.h"
#include "config/hud_settings.h"
#include "host/host_interface.h"
#include "host/keyboard.h"
#include "hud/hud_drawers.h"
#include "hud/shadow_text.h"
#include "screen/exact_arithmetic.h"
#include "screen/units.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

PanelTimer moneyPanel{};
PanelTimer ammoPanel{};

namespace {

constexpr uint32_t moneyShownFor = 10000;
constexpr uint32_t ammoShownFor = 7000;
constexpr uint32_t fadeTime = 255;
constexpr float fourByThree = 1.3333334f;

// 8-bit text and its 16-bit copy for the game's printer.
struct PanelText {
    char text[32];
    char16_t hostText[32];
};
PanelText mainText;

template <class... Numbers>
void formatPanelText(PanelText& out, const char* format, Numbers... numbers) {
    std::snprintf(out.text, sizeof out.text, format, numbers...);
    host::asciiToHostText(out.text, out.hostText);
}

int32_t alphaAt(const PanelTimer& panel, uint32_t now, uint32_t shownFor) {
    const uint32_t since = timeSinceTrigger(panel.shown, now);
    if (since < shownFor) return 255;
    if (since >= shownFor + fadeTime) return 0;
    return static_cast<int32_t>(shownFor + fadeTime - since);
}

// While the player is wanted the panels move down to make room for the stars.
int32_t wantedGap() {
    const uint8_t* actor = host::playerActor();
    if (!actor || host::wantedLevel(actor) == 0) return 0;
    return truncateToInt(hudSettings.MONEY_TRANSITION_GAP);
}

// W x 640 / 640 x 4/3 / the game's aspect; an aspect that would make it non-finite counts as
// 4:3, so the game never receives an infinite or undefined width.
float ammoCentreWidth() {
    const float w = host::screenWidth();
    const float aspect = host::global<float>(&HostAddresses::ammoCentreDivisor);
    const float width = w * 640.0f / 640.0f * fourByThree / aspect;
    if (std::isfinite(aspect) && aspect != 0.0f && std::isfinite(width)) return width;
    return w * 640.0f / 640.0f * fourByThree / fourByThree;
}

// Weapons whose magazine figure is not drawn again in the clip colour.
bool singleFigureWeapon(uint32_t type) {
    return type == 4 || type == 7 || type == 8 || type == 10 || type == 11;
}

} // namespace

void drawMoneyAndAmmoPanels() {
    moneyPanel.alpha = 0;
    ammoPanel.alpha = 0;
    const uint32_t now = host::gameClock();

    if (keyDown(0x1B) || keyDown('P')) trigger(moneyPanel.shown, now);
    moneyPanel.alpha = alphaAt(moneyPanel, now, moneyShownFor);
    if (moneyPanel.alpha != 0) drawMoneyPanel(wantedGap());
    // Once the money starts to fade, the ammo panel already rises into its place.
    if (timeSinceTrigger(moneyPanel.shown, now) >= moneyShownFor) moneyPanel.alpha = 0;

    if (keyDown(0xA2) || keyDown(0x01) || host::mouseWheelTurned()) trigger(ammoPanel.shown, now);
    ammoPanel.alpha = alphaAt(ammoPanel, now, ammoShownFor);
    if (ammoPanel.alpha == 0) return;
    const float lift = moneyPanel.alpha != 0 ? 0.0f : hudSettings.WEAPON_AMMO_TRANSITION_GAP;
    drawAmmoPanel(wantedGap(), lift);
}

void drawMoneyPanel(int32_t gap) {
    const auto& s = hudSettings;
    formatPanelText(mainText, "$%d", static_cast<int>(host::playerCash()));

    host::textSwitch1D90();
    host::textSwitch1CF0();
    host::setTextScale(UnitX(s.MONEY_SCALE.x), UnitY(s.MONEY_SCALE.y));
    host::textSwitch1CB0();
    host::setRightJustifyOn();
    host::setRightJustifyWidth(0.0f);
    host::textSwitch1D40();
    host::setFont(2);
    host::textSwitch1D90();

    // Right-justified: x is the right edge. The shadow sits 2 units right and down.
    const auto alpha = static_cast<uint8_t>(moneyPanel.alpha);
    const float w = host::screenWidth();
    printShadowed(mainText.hostText, {0, 0, 0, alpha},
                  {w - UnitX(s.MONEY_POS_RIGHT - 2), UnitY(s.MONEY_POS_TOP + 2 + gap)},
                  withAlpha(s.colors.MONEY_COLOR, alpha),
                  {w - UnitX(s.MONEY_POS_RIGHT), UnitY(s.MONEY_POS_TOP + gap)});
}

void drawAmmoPanel(int32_t gap, float lift) {
    const auto& s = hudSettings;
    const uint8_t* actor = host::playerActor();
    if (!actor) return;
    const int record = host::currentWeaponRecord(actor);
    if (record >= host::weaponRecordCount) return;
    const auto type = static_cast<uint32_t>(host::weaponTypeOfRecord(actor, record));
    const uint32_t clip = host::roundsInMagazine(actor, record);
    const uint32_t total = host::roundsInTotal(actor, record);
    const uint32_t magazine = host::magazineSize(static_cast<int>(type));

    // Magazines of 2..999 show the rounds outside the magazine, then those in it.
    PanelText clipText;
    bool hasClipText = false;
    if (magazine - 2 > 997) {
        formatPanelText(mainText, "%d", static_cast<int>(total));
    } else {
        const uint32_t outside = total - clip;
        uint32_t shownClip = clip;
        uint32_t rest = std::min<uint32_t>(outside, 9999);
        if (type == 9) {
            // This weapon counts in tens.
            shownClip = clip / 10;
            rest = outside < 100000 ? outside / 10 : 9999;
        }
        formatPanelText(mainText, "%d %d", static_cast<int>(rest), static_cast<int>(shownClip));
        formatPanelText(clipText, "%d", static_cast<int>(shownClip));
        hasClipText = true;
    }

    const auto alpha = static_cast<uint8_t>(ammoPanel.alpha);
    host::setDropShadowOffset(1);
    host::setDropShadowColour({0, 0, 0, alpha});
    host::textSwitch1CF0();
    host::setCentreWidth(ammoCentreWidth());
    host::setFont(2);
    host::setTextColour(withAlpha(s.colors.AMMO_COLOR, alpha));
    host::setTextScale(UnitX(s.AMMO_SCALE.x), UnitY(s.AMMO_SCALE.y));
    host::textSwitch1DA0();
    host::setRightJustifyOn();

    if (host::ammoHidden() || type == 0 || type == 1) return;
    const float x = host::screenWidth() - UnitX(s.WEAPON_AMMO_POS_RIGHT);
    const float y = UnitY(s.WEAPON_AMMO_POS_TOP - lift + gap);
    host::printHostText(x, y, mainText.hostText);
    if (!hasClipText || singleFigureWeapon(type)) return;
    // Same right edge: the magazine figure at the end of the line is drawn over in its colour.
    printInColour(clipText.hostText, withAlpha(s.colors.AMMO_CLIP_COLOR, alpha), {x, y});
}
