#include "hud/hud_frame.h"
#include "config/hud_settings.h"
#include "config/settings_files.h"
#include "hud/exact_arithmetic.h"
#include "hud/hud_drawers.h"
#include "hud/screen_metrics.h"
#include "patch/memory.h"
#include "plugin/host_interface.h"
#include "plugin/keyboard.h"
#include "plugin/settings_file_system.h"
#include "wheels/wheel_state.h"

namespace {

// Two of the game's HUD routines return at once; two bytes inside its code become NOPs. Only
// bytes that something else changed back are written again.
void switchOffHostHud() {
    static constexpr uint32_t returnAtOnce = 0x000000C3;
    static constexpr uint8_t noOperation = 0x90;
    const auto& a = host::addresses();
    patch::keep_bytes({{adjustAddress(a.hostHudRoutineA), &returnAtOnce, sizeof returnAtOnce},
                       {adjustAddress(a.hostHudRoutineB), &returnAtOnce, sizeof returnAtOnce},
                       {adjustAddress(a.hostHudByteA), &noOperation, sizeof noOperation},
                       {adjustAddress(a.hostHudByteB), &noOperation, sizeof noOperation}});
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

int titleOffset() {
    if (!host::missionTimersShown()) return 0;
    return truncateToInt(hudSettings.ZONE_VEHICLE_MISSION_TRANSITION_GAP);
}

void HudFrame() {
    const KeyboardCall keyboard(KeyboardCaller::HudFrame);
    // Only a build whose addresses are all known is patched and drawn on.
    const bool drawable = host::fullyKnown();
    if (drawable) switchOffHostHud();
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
