// Another program hooks the HUD draw call site after the plug-in, keeping the plug-in's CALL to
// go on to, and the plug-in is then unloaded while the game runs on. The other program's routine
// still calls into the plug-in, so the plug-in must stay in memory and hand the call to the game.
// Exits with 0 when the other program's call stayed at the site and the site, executed after the
// unload, ran the other program's routine and then the game's, gave the game its result, ran none
// of the HUD, and the log says why the plug-in stayed; and all of it still so after a loader that
// frees the plug-in again and again until it is gone. A crash ends it with the exception's code.
#include "sim/game_life.h"
#include "sim/host_radar.h"
#include "sim/sim.h"

#include <windows.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr sim::Event event = sim::Event::HudDraw;

std::string logText() {
    char exe[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string path(exe, length);
    path = path.substr(0, path.find_last_of('\\') + 1) + "tarvel_moravik\\tarvel_hud.log";
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

} // namespace

int main() {
    sim::layOut(sim::Build::v100);
    const HMODULE plugin = LoadLibraryA("tarvel_hud.dll");
    if (!plugin) {
        std::printf("loading failed: error %lu\n", GetLastError());
        return 1;
    }
    sim::fire(sim::Event::Start);
    sim::fire(event);
    sim::placeForeignCode(event, sim::ForeignCode::CallRel32);
    const std::vector<uint8_t> othersCall = sim::bytes(sim::siteOf(event), 5);
    FreeLibrary(plugin);
    const std::vector<uint8_t> siteAfterUnload = sim::bytes(sim::siteOf(event), 5);

    const std::vector<uint8_t> hudCodeAfterUnload = sim::bytes(sim::hudRoutineA, 1);
    int failures = 0;
    const auto check = [&](bool good, const char* what) {
        if (good) return;
        std::printf("%s\n", what);
        ++failures;
    };
    check(siteAfterUnload == othersCall, "the other program's call was undone");
    for (const bool freedAgain : {false, true}) {
        // Some loaders free a plug-in until the system says it is gone.
        for (int time = 0; freedAgain && time < 8 && GetModuleHandleA("tarvel_hud.dll"); ++time)
            FreeLibrary(plugin);
        sim::clearCalls();
        const uint32_t result = sim::fire(event);
        std::vector<std::string> order;
        for (const auto& call : sim::calls())
            if (call.routine == "foreign" || call.routine == "callee")
                order.push_back(call.routine);
        check(result == sim::calleeResult(event), "the game did not get its callee's result");
        check(order == std::vector<std::string>{"foreign", "callee"},
              "the other program's routine and the game's did not each run once, in that order");
        check(sim::bytes(sim::hudRoutineA, 1) == hudCodeAfterUnload,
              "the HUD's frame ran after the unload");
        check(GetModuleHandleA("tarvel_hud.dll") != nullptr, "the plug-in left memory");
    }
    check(logText().find("stays in memory") != std::string::npos,
          "the log does not say why the HUD stayed in memory");
    std::printf("%s\n",
                failures == 0 ? "the game's call ran through the resident plug-in" : "failed");
    return failures == 0 ? 0 : 2;
}
