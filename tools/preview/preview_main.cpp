// Runs the real plug-in inside the simulated game through a short scripted stretch of play and
// prints what it did to the game: which call sites it took over and every host call it made.
#include "sim/host_data.h"
#include "sim/sim.h"

#include <windows.h>

#include <cstdio>
#include <vector>

namespace {

const char* eventName(sim::Event event) {
    switch (event) {
    case sim::Event::Start:
        return "start";
    case sim::Event::HudDraw:
        return "HUD draw";
    case sim::Event::PhoneDraw:
        return "phone draw";
    case sim::Event::RadarPatch:
        return "radar set-up";
    case sim::Event::Shutdown:
        return "shutdown";
    case sim::Event::ReloadKey:
        return "key polling";
    }
    return "?";
}

void reportSites(const char* when) {
    std::printf("Call sites %s:\n", when);
    for (sim::Event event : sim::allEvents) {
        const uint32_t site = sim::siteOf(event);
        const auto code = sim::bytes(site, 5);
        std::printf("  %-13s 0x%06X  %02X %02X %02X %02X %02X\n", eventName(event),
                    static_cast<unsigned>(site), code[0], code[1], code[2], code[3], code[4]);
    }
}

void printCalls(const char* heading) {
    std::printf("%s (%zu host calls)\n", heading, sim::calls().size());
    for (const auto& call : sim::calls())
        std::printf("  %s\n", sim::describe(call).c_str());
    sim::clearCalls();
}

} // namespace

int main() {
    sim::layOut(sim::Build::v100);
    reportSites("before loading");

    HMODULE plugin = LoadLibraryA("tarvel_hud.dll");
    if (!plugin) {
        std::fprintf(stderr, "preview: tarvel_hud.dll could not be loaded\n");
        return 1;
    }
    reportSites("after loading");
    printCalls("Loading");

    sim::fire(sim::Event::Start);
    printCalls("Start");
    sim::fire(sim::Event::RadarPatch);
    printCalls("Radar set-up");
    for (int frame = 1; frame <= 3; ++frame) {
        sim::advanceClock(20);
        sim::fire(sim::Event::HudDraw);
        sim::fire(sim::Event::PhoneDraw);
        sim::fire(sim::Event::ReloadKey);
        char heading[32];
        std::snprintf(heading, sizeof heading, "Frame %d", frame);
        printCalls(heading);
    }
    sim::fire(sim::Event::Shutdown);
    printCalls("Shutdown");

    FreeLibrary(plugin);
    printCalls("Unloading");
    reportSites("after unloading");
    return 0;
}
