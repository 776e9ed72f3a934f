// The DLL entry: this copy claims the game and starts when the entry is told of the load, and
// gives everything back when it is told of the unload, before the runtime destroys any object.
#include "host/data_paths.h"
#include "host/game_version.h"
#include "host/host_interface.h"
#include "host/hud_log.h"
#include "host/hud_textures.h"
#include "hud/area_vehicle_names.h"
#include "patch/put_back.h"
#include "plugin/game_claim.h"
#include "plugin/hud_frame.h"
#include "plugin/hud_plugin.h"

#include <windows.h>

#include <optional>

namespace {

bool processEnding = false;

LogPlace logPlace() {
    return {gameDirectory(), pluginFile()};
}

// The log is created afresh before the call sites are taken over, so it names each of them. A
// copy that takes over from another adds to that copy's log. The build is known before anything
// touches the game.
struct LogOfTheWorkingCopy {
    explicit LogOfTheWorkingCopy(bool tookOver) {
        if (tookOver)
            logTakeOver(logPlace(), claimingCopy());
        else
            startLog(logPlace());
        logBuild(gameVersion());
    }
    ~LogOfTheWorkingCopy() { closeLog(); }
};

// The game's sprite objects live as long as the copy works; only a fully known build has them.
struct HudSpriteLifetime {
    HudSpriteLifetime() : constructed(host::fullyKnown()) {
        if (constructed) constructHudSprites();
    }
    ~HudSpriteLifetime() {
        if (constructed) destroyHudSprites();
    }
    const bool constructed;
};

// The name displays start from the game's own display state when the copy starts working.
struct NameDisplaySeeds {
    NameDisplaySeeds() { seedNameDisplays(); }
};

// What the copy that holds the game has of it, made in this order and given back in reverse:
// the game's own HUD code is put back before the sprites go and the log closes.
struct WorkingCopy {
    explicit WorkingCopy(bool tookOver) : log(tookOver) {}
    LogOfTheWorkingCopy log;
    HudSpriteLifetime sprites;
    GameHudSwitchedOff gameHud;
    HudPlugin plugin;
    NameDisplaySeeds seeds;
};

void takeOverTheGame();

// This copy, from its claim to the claim's release: made when the entry is told of the load,
// destroyed when it is told of the unload, while every other object of the plug-in still exists.
// Its destructor gives back in the order the game needs, whatever order the linker or the
// runtime would give: all the working copy holds, then the call sites and the radar's routines,
// then the claim, last, so the next copy finds the game as it was.
struct ThisCopy {
    // Before anything looks at the game: a copy loaded while another runs leaves the game alone
    // until that one hands it over.
    ThisCopy() : claim(claimGame(&takeOverTheGame)) {
        if (claim == ClaimAtLoad::Holding)
            working.emplace(false);
        else
            logSecondCopy(logPlace(), claimingCopy(),
                          claim == ClaimAtLoad::WaitingBesideOlderRelease);
    }
    ~ThisCopy() {
        working.reset();
        patch::put_back_branches();
        closeLog();
        releaseGameClaim(!processEnding);
    }
    ThisCopy(const ThisCopy&) = delete;
    ThisCopy& operator=(const ThisCopy&) = delete;
    const ClaimAtLoad claim;
    std::optional<WorkingCopy> working;
};
std::optional<ThisCopy> thisCopy;

void takeOverTheGame() {
    thisCopy->working.emplace(true);
}

} // namespace

// Called after the global objects are made and before they are destroyed. A detach with a
// reserved pointer is the process ending rather than an unload.
BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) {
        // Nothing may leave the entry: a copy that cannot be made is not loaded at all.
        try {
            thisCopy.emplace();
        } catch (...) {
            thisCopy.reset();
            return FALSE;
        }
    }
    if (reason != DLL_PROCESS_DETACH) return TRUE;
    if (reserved != nullptr) {
        processEnding = true;
        noteGameClosing();
    }
    thisCopy.reset();
    return TRUE;
}
