// The simulated game as a player has it after installing the release: the plug-in is loaded by
// the file name given (as the game's plug-in loader loads an .asi), the game starts and plays a
// few frames with everything on screen. Exits with 0 when the HUD drew its text and sprites, each
// sprite with its texture, and the game saw no fault.
#include "sim/busy_game.h"
#include "sim/sim.h"

#include <windows.h>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::puts("usage: release_game PLUGIN_FILE");
        return 2;
    }
    sim::layOut(sim::Build::v100);
    const HMODULE plugin = LoadLibraryA(argv[1]);
    if (!plugin) {
        std::printf("%s could not be loaded: error %lu\n", argv[1], GetLastError());
        return 1;
    }
    sim::fire(sim::Event::Start);
    sim::fire(sim::Event::RadarPatch);
    sim::showEverything();
    sim::clearCalls();
    for (int frame = 0; frame < 10; ++frame) {
        sim::advanceBusyFrame();
        sim::fire(sim::Event::HudDraw);
        sim::fire(sim::Event::PhoneDraw);
    }
    const size_t texts = sim::countCalls("printText");
    size_t sprites = 0, withoutTexture = 0;
    for (const char* routine : {"drawSprite", "drawSpriteQuad"}) {
        for (const sim::HostCall& call : sim::callsTo(routine)) {
            ++sprites;
            if (call.name.empty()) ++withoutTexture;
        }
    }
    sim::fire(sim::Event::Shutdown);
    FreeLibrary(plugin);
    std::printf("%s: 10 frames, %zu texts and %zu sprites drawn (%zu without a texture), %zu "
                "faults\n",
                argv[1], texts, sprites, withoutTexture, sim::faults().size());
    for (const std::string& fault : sim::faults())
        std::printf("fault: %s\n", fault.c_str());
    return texts > 0 && sprites > 0 && withoutTexture == 0 && sim::faults().empty() ? 0 : 1;
}
