#include "sim/busy_game.h"
#include "sim/host_cameras.h"
#include "sim/host_clock.h"
#include "sim/host_data.h"
#include "sim/host_messages.h"
#include "sim/host_names.h"
#include "sim/host_panels.h"
#include "sim/host_radar.h"
#include "sim/host_timers.h"

#include <windows.h>

namespace sim {
namespace {

constexpr int keyP = 0x50;
constexpr int keyLeftControl = 0xA2;
constexpr int middleMouseButton = 0x04;

uint32_t frames = 0;

void postMessages() {
    if (message(0).empty()) setMessage(0, "MISSION PASSED");
    if (message(1).empty()) setMessage(1, "The Getaway");
    if (message(3).empty()) setMessage(3, "Checkpoint 3 of 8");
    if (message(5).empty()) setMessage(5, "Best time 1:02");
}

} // namespace

void showEverything() {
    frames = 0;
    setClock(10000);
    setCash(12345);
    setWantedLevel(3, 1000);
    setHealth(80.0f);
    setArmour(40.0f);
    setWeapon(0, 0);
    setWeapon(2, 2, 7, 60);
    setWeapon(4, 4, 30, 300);
    setWeapon(12, 12, 1, 3);
    setCurrentWeapon(2);
    setMagazineSize(2, 17);
    setVehicle(true, 3);
    setRadioAvailable(true);
    setAreaName("Tarvel Docks");
    setVehicleName("Ostrel");
    setTableText("TIMER", "TIME");
    setTableText("COUNT", "DAMAGE");
    showMissionTimer("TIMER", "02:15");
    showMissionCounter("COUNT", "40", CounterKind::Bar);
    setMissionTimersShown(true);
    setHelpText("Press the fire button to shoot.");
    setPagerText("Meet me at the docks.");
    setTimeOfDay(13, 37);
    setCamera(0, 7);
    setRadarSpritesShown(true);
    postMessages();
    holdBusyKeys();
}

void holdBusyKeys() {
    // Money, ammo and the phone show on these; the wheel on the middle button.
    setKey(keyP, true);
    setKey(keyLeftControl, true);
    setKey(middleMouseButton, true);
}

void advanceBusyFrame(uint32_t milliseconds) {
    advanceClock(milliseconds);
    setFrameCounter(++frames);
    postMessages();
    // Subtitles hide the area and vehicle names, so they take turns with them.
    if (frames % 1000 == 0) {
        const bool subtitleTurn = frames % 2000 == 0;
        setSubtitle(subtitleTurn ? "Get in the car." : "");
        setAreaName(subtitleTurn ? "Kessel Heights" : "Tarvel Docks");
        setVehicleName(subtitleTurn ? "Caldane" : "Ostrel");
    }
    if (frames % 500 == 0) {
        setHelpText(frames % 1000 == 0 ? "Press the fire button to shoot." : "Find a car.");
        setPagerText(frames % 1000 == 0 ? "Meet me at the docks." : "Call me.");
    }
}

} // namespace sim
