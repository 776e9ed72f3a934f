// The DLL entry. It has nothing of its own to do: everything starts from the plug-in's global
// objects below, which the runtime constructs in this order before the entry is called and
// destroys in the reverse order after it.
#include "hud/area_vehicle_names.h"
#include "plugin/game_version.h"
#include "plugin/host_interface.h"
#include "plugin/hud_log.h"
#include "plugin/hud_plugin.h"
#include "plugin/hud_textures.h"

#include <windows.h>

namespace {

// The build is known before anything touches the game.
const GameVersion runningBuild = gameVersion();

// The log is created afresh before the call sites are taken over, so it names each of them.
struct LogAtLoad {
    LogAtLoad() {
        startLog();
        logBuild(runningBuild);
    }
};
LogAtLoad logAtLoad;

// The game's sprite objects live as long as the plug-in; only a fully known build has them.
struct HudSpriteLifetime {
    HudSpriteLifetime() {
        if (host::fullyKnown()) constructHudSprites();
    }
    ~HudSpriteLifetime() {
        if (host::fullyKnown()) destroyHudSprites();
    }
};
HudSpriteLifetime hudSprites;

HudPlugin plugin;

// The name displays start from the game's own display state at load.
struct NameDisplaySeeds {
    NameDisplaySeeds() { seedNameDisplays(); }
};
NameDisplaySeeds nameDisplaySeeds;

} // namespace

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) {
    return TRUE;
}
