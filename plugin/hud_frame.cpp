#include "plugin/hud_frame.h"
#include "config/hud_settings.h"
#include "config/settings_files.h"
#include "host/host_interface.h"
#include "host/keyboard.h"
#include "host/settings_file_system.h"
#include "hud/hud_drawers.h"
#include "patch/memory.h"
#include "patch/scoped.h"
#include "screen/exact_arithmetic.h"
#include "wheels/screen_metrics.h"
#include "wheels/wheel_state.h"

namespace {

// Set while the working copy holds the game's own HUD code switched off.
GameHudSwitchedOff* gameHud = nullptr;

template <size_t N> void saveOnce(patch::scoped_written<N>& saved, uint32_t address, size_t size) {
    if (!saved.saved() || saved.address() != address) saved.save_bytes(address, size, true);
}

// Two of the game's HUD routines return at once; two bytes inside its code become NOPs. Only
// bytes that something else changed back are written again.
void switchOffHostHud(GameHudSwitchedOff& saved) {
    static constexpr uint32_t returnAtOnce = 0x000000C3;
    static constexpr uint8_t noOperation = 0x90;
    const auto& a = host::addresses();
    const uint32_t routineA = adjustAddress(a.hostHudRoutineA);
    const uint32_t routineB = adjustAddress(a.hostHudRoutineB);
    const uint32_t byteA = adjustAddress(a.hostHudByteA);
    const uint32_t byteB = adjustAddress(a.hostHudByteB);
    const bool firstWrite = !saved.routineA.saved();
    saveOnce(saved.routineA, routineA, sizeof returnAtOnce);
    saveOnce(saved.routineB, routineB, sizeof returnAtOnce);
    saveOnce(saved.byteA, byteA, sizeof noOperation);
    saveOnce(saved.byteB, byteB, sizeof noOperation);
    patch::keep_bytes({{routineA, &returnAtOnce, sizeof returnAtOnce},
                       {routineB, &returnAtOnce, sizeof returnAtOnce},
                       {byteA, &noOperation, sizeof noOperation},
                       {byteB, &noOperation, sizeof noOperation}});
    if (!firstWrite) return;
    saved.routineA.keep_written();
    saved.routineB.keep_written();
    saved.byteA.keep_written();
    saved.byteB.keep_written();
}

void drawFirstGroup() {
    drawCrosshair();
    drawRadarFrame();
    drawAreaAndVehicleNames(titleOffset());
    drawMissionTimers();
    drawPager();
    drawWantedStars();
    computeScreenMetrics();
    runWeaponWheel();
    runRadioWheel();
    drawMoneyAndAmmoPanels();
}

void drawSecondGroup() {
    drawSubtitles();
    drawBigMessages();
    drawHelpBoxAndOddJobs();
    drawMissionTitle(titleOffset());
}

} // namespace

GameHudSwitchedOff::GameHudSwitchedOff() {
    gameHud = this;
}

GameHudSwitchedOff::~GameHudSwitchedOff() {
    gameHud = nullptr;
}

int titleOffset() {
    if (!host::missionTimersShown()) return 0;
    return truncateToInt(hudSettings.ZONE_VEHICLE_MISSION_TRANSITION_GAP);
}

void HudFrame() {
    const KeyboardCall keyboard(KeyboardCaller::HudFrame);
    // Only a build whose addresses are all known is patched and drawn on.
    const bool drawable = host::fullyKnown();
    if (drawable && gameHud) switchOffHostHud(*gameHud);
    refreshSettings(gameSettingsFiles());
    if (!drawable) return;

    // The toggle is polled whether the HUD is shown or hidden, so the button also shows a hidden
    // HUD again, but only where the player sees the change: not in a menu, not while drawing is
    // suppressed. What it changes counts from the next frame.
    const bool hudShown = host::hudShownByte() != 0;
    if (!host::menuShown() && !host::hudSuppressed()) pollHudToggle();
    if (hudShown && !host::menuShown()) {
        if (host::hudSuppressed()) return;
        drawFirstGroup();
    }
    if (host::hudSuppressed()) return;
    drawSecondGroup();
}
