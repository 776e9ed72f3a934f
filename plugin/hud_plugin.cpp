#include "plugin/hud_plugin.h"
#include "config/hud_settings.h"
#include "config/settings_files.h"
#include "host/game_version.h"
#include "host/host_events.h"
#include "host/host_interface.h"
#include "host/hud_log.h"
#include "host/hud_textures.h"
#include "host/keyboard.h"
#include "host/settings_file_system.h"
#include "hud/hud_drawers.h"
#include "hud/money_ammo_panels.h"
#include "hud/phone.h"
#include "hud/radar_routines.h"
#include "plugin/hud_frame.h"
#include "wheels/wheel_state.h"

namespace {

// A copy loaded into a game that is already running (a hot reload) has missed the game's start,
// so it does the start's work at its first frame; it has missed the radar set-up too, which
// comes once a game and not again with a saved game loaded. A game whose frame counter is still
// zero at load has run no frame: the copy came with the game and will see both.
bool startMissed = false;
bool radarSetupMissed = false;
bool gameClosing = false;

// Ends everything shown for a while: the wheels, the money and ammo panels, the phone.
void endEverythingShownForAWhile() {
    weaponWheelShown = {};
    radioWheelShown = {};
    weaponWheelVisible = false;
    radioWheelVisible = false;
    moneyPanel = {};
    ammoPanel = {};
    putPhoneAway();
}

void startHud() {
    if (host::fullyKnown()) loadHudTextures();
    if (radarSetupMissed) onRadarSetup();
    // Settings first, so a reload key set in the layout file works from the first frame. The
    // handler is a plain function: adding it again on a later start adds nothing.
    refreshSettings(gameSettingsFiles());
    if (hudSettings.reloadKey != 0) ReloadKeyEvent().addHandler(onReloadKeyPoll);
}

} // namespace

HudPlugin::HudPlugin() {
    startMissed = gameVersion() != GameVersion::Unknown && host::frameCounter() != 0;
    radarSetupMissed = startMissed;
    StartEvent().addHandler(onGameStart);
    HudDrawEvent().addHandler(onHudDraw);
    PhoneDrawEvent().addHandler(onPhoneDraw);
    RadarPatchEvent().addHandler(onRadarSetup);
    ShutdownEvent().addHandler(onGameShutdown, HandlerList::Before);
}

// Unloaded mid-game, without the game's shutdown, it releases what a shutdown would have.
HudPlugin::~HudPlugin() {
    if (gameClosing) return;
    passThroughIfStillCalled();
    if (host::fullyKnown()) releaseHudTextures();
}

void noteGameClosing() {
    gameClosing = true;
}

void onGameStart() {
    logLine("game started");
    startMissed = false;
    // A saved game loaded starts the game again, its clock lower than before.
    endEverythingShownForAWhile();
    startHud();
}

void onHudDraw() {
    if (startMissed) {
        startMissed = false;
        logLine("the HUD was loaded into a running game: it loads its pictures and settings now");
        startHud();
    }
    HudFrame();
}

void onPhoneDraw() {
    const KeyboardCall keyboard(KeyboardCaller::PhoneDraw);
    if (!host::fullyKnown()) return;
    if (host::hudShownByte() != 0 && !host::menuShown() && !host::hudSuppressed()) {
        drawPhone();
    }
}

void onRadarSetup() {
    radarSetupMissed = false;
    if (host::fullyKnown()) install_radar_jumps();
}

void onGameShutdown() {
    if (host::fullyKnown()) releaseHudTextures();
}

void onReloadKeyPoll() {
    const KeyboardCall keyboard(KeyboardCaller::ReloadPoll);
    const int key = hudSettings.reloadKey;
    if (key == 0) return;
    if (key == -1 || keyDown(key)) reloadSettings(gameSettingsFiles());
}
