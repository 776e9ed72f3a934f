// The DLL entry. It only tells an unload from the game closing: everything starts from the
// plug-in's global objects below, which the runtime constructs in this order before the entry is
// called and destroys in the reverse order after it.
#include "hud/area_vehicle_names.h"
#include "plugin/game_claim.h"
#include "plugin/game_version.h"
#include "plugin/host_interface.h"
#include "plugin/hud_log.h"
#include "plugin/hud_plugin.h"
#include "plugin/hud_textures.h"

#include <windows.h>

#include <optional>

namespace {

// Before anything looks at the game: a copy loaded while another runs leaves the game alone.
// The claim goes last at unload, when this copy has put back every byte it wrote.
struct GameClaim {
    GameClaim() : first(claimGame()) {}
    ~GameClaim() {
        if (first) releaseGameClaim();
    }
    const bool first;
};
const GameClaim gameClaim;

// The build is known before anything touches the game.
const GameVersion runningBuild = gameClaim.first ? gameVersion() : GameVersion::Unknown;

// The log is created afresh before the call sites are taken over, so it names each of them. A
// second copy only adds its line to the first copy's log.
struct LogAtLoad {
    LogAtLoad() {
        if (!gameClaim.first) {
            logSecondCopy(claimingCopy());
            return;
        }
        startLog();
        logBuild(runningBuild);
    }
    ~LogAtLoad() { closeLog(); }
};
LogAtLoad logAtLoad;

// The game's sprite objects live as long as the plug-in; only a fully known build has them.
struct HudSpriteLifetime {
    HudSpriteLifetime() : constructed(gameClaim.first && host::fullyKnown()) {
        if (constructed) constructHudSprites();
    }
    ~HudSpriteLifetime() {
        if (constructed) destroyHudSprites();
    }
    const bool constructed;
};
HudSpriteLifetime hudSprites;

// The handlers, for the copy that claimed the game only.
struct HudPluginOfTheFirstCopy {
    HudPluginOfTheFirstCopy() {
        if (gameClaim.first) plugin.emplace();
    }
    std::optional<HudPlugin> plugin;
};
HudPluginOfTheFirstCopy plugin;

// The name displays start from the game's own display state at load.
struct NameDisplaySeeds {
    NameDisplaySeeds() {
        if (gameClaim.first) seedNameDisplays();
    }
};
NameDisplaySeeds nameDisplaySeeds;

} // namespace

// Called before the global objects are destroyed. A detach with a reserved pointer is the
// process ending rather than an unload.
BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_DETACH && reserved != nullptr) noteGameClosing();
    return TRUE;
}
