#include "plugin/game_version.h"
#include "patch/memory.h"
#include "plugin/host_addresses.h"

#include <windows.h>

namespace {
constexpr uint32_t nominalBase = 0x400000;
// push ebp; mov ebp, esp; push ebx: the first bytes of a routine each build has at its probe.
constexpr uint32_t probeSignature = 0x53E58955;

struct Probe {
    uint32_t address;
    GameVersion version;
};
constexpr Probe probes[] = {
    {build100Addresses.versionProbe, GameVersion::Build100},
    {build110Addresses.versionProbe, GameVersion::Build110},
    {build120Addresses.versionProbe, GameVersion::Build120},
};
} // namespace

GameVersion detectGameVersion() {
    for (const Probe& probe : probes)
        if (patch::peek_u32(adjustAddress(probe.address)) == probeSignature) return probe.version;
    return GameVersion::Unknown;
}

GameVersion gameVersion() {
    static bool detected = false;
    static GameVersion version = GameVersion::Unknown;
    if (!detected) {
        detected = true;
        version = detectGameVersion();
    }
    return version;
}

uint32_t moduleBaseDelta() {
    static bool queried = false;
    static uint32_t module = 0;
    if (!queried) {
        queried = true;
        module = reinterpret_cast<uint32_t>(GetModuleHandleA(nullptr));
    }
    return module - nominalBase;
}

uint32_t adjustAddress(uint32_t address) {
    return address + moduleBaseDelta();
}

uint32_t addressByVersion(uint32_t build100, uint32_t build110, uint32_t build120) {
    switch (gameVersion()) {
    case GameVersion::Build100:
        return build100;
    case GameVersion::Build110:
        return build110;
    case GameVersion::Build120:
        return build120;
    default:
        return 0;
    }
}
