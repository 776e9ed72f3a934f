#include "plugin/hud_plugin.h"
#include "config/hud_settings.h"
#include "config/settings_files.h"
#include "hud/hud_drawers.h"
#include "hud/hud_frame.h"
#include "hud/radar_routines.h"
#include "hud/shown_for_a_while.h"
#include "plugin/host_events.h"
#include "plugin/host_interface.h"
#include "plugin/hud_log.h"
#include "plugin/hud_textures.h"
#include "plugin/keyboard.h"
#include "plugin/settings_file_system.h"

HudPlugin::HudPlugin() {
    StartEvent().addHandler(onGameStart);
    HudDrawEvent().addHandler(onHudDraw);
    PhoneDrawEvent().addHandler(onPhoneDraw);
    RadarPatchEvent().addHandler(onRadarSetup);
    ShutdownEvent().addHandler(onGameShutdown, HandlerList::Before);
}

void onGameStart() {
    logLine("game started");
    // A saved game loaded starts the game again, its clock lower than before.
    endEverythingShownForAWhile();
    if (host::fullyKnown()) loadHudTextures();
    // Settings first, so a reload key set in the layout file works from the first frame. The
    // handler is a plain function: adding it again on a later start adds nothing.
    refreshSettings(gameSettingsFiles());
    if (hudSettings.reloadKey != 0) ReloadKeyEvent().addHandler(onReloadKeyPoll);
}

void onHudDraw() {
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
