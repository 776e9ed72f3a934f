// The DLL entry. It only tells an unload from the game closing: everything starts from the
// plug-in's global objects below, which the runtime constructs in this order before the entry is
// called and destroys in the reverse order after it.
#include "host/data_paths.h"
#include "host/game_version.h"
#include "host/host_interface.h"
#include "host/hud_log.h"
#include "host/hud_textures.h"
#include "hud/area_vehicle_names.h"
#include "plugin/game_claim.h"
#include "plugin/hud_plugin.h"

#include <windows.h>

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

// What the copy that holds the game has of it, made in this order and given back in reverse.
struct WorkingCopy {
    explicit WorkingCopy(bool tookOver) : log(tookOver) {}
    LogOfTheWorkingCopy log;
    HudSpriteLifetime sprites;
    HudPlugin plugin;
    NameDisplaySeeds seeds;
};

// A static of its own, made at load or when the game is handed over: either way the runtime
// destroys it before what it made on its way (the call sites' saved bytes among them) and before
// the claim below, as it destroys global objects.
void workTheGame(bool tookOver) {
    static WorkingCopy copy(tookOver);
}

void takeOverTheGame() {
    workTheGame(true);
}

// Before anything looks at the game: a copy loaded while another runs leaves the game alone
// until that one hands it over. The claim goes last at unload, when this copy has put back every
// byte it wrote.
struct GameClaim {
    GameClaim() : first(claimGame(&takeOverTheGame)) {}
    ~GameClaim() { releaseGameClaim(!processEnding); }
    const bool first;
};
const GameClaim gameClaim;

struct StartAtLoad {
    StartAtLoad() {
        if (gameClaim.first)
            workTheGame(false);
        else
            logSecondCopy(logPlace(), claimingCopy());
    }
    // The working copy's log goes with it, after its last line.
    ~StartAtLoad() {
        if (!gameClaim.first) closeLog();
    }
};
const StartAtLoad startAtLoad;

} // namespace

// Called before the global objects are destroyed. A detach with a reserved pointer is the
// process ending rather than an unload.
BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_DETACH && reserved != nullptr) {
        processEnding = true;
        noteGameClosing();
    }
    return TRUE;
}
