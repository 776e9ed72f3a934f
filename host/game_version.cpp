#include "host/game_version.h"
#include "host/host_addresses.h"
#include "host/hud_log.h"

#include <windows.h>

#include <cstring>

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

// Only bytes of the executable's loaded image that can be read as they are: an executable whose
// image does not reach a probe is some other program, and touching the address could fault.
bool readableImageBytes(uint32_t address, size_t size) {
    constexpr DWORD readable = PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READ |
                               PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
    const uint32_t end = address + static_cast<uint32_t>(size);
    while (address < end) {
        MEMORY_BASIC_INFORMATION info{};
        if (VirtualQuery(reinterpret_cast<const void*>(address), &info, sizeof info) == 0)
            return false;
        const bool executablesImage =
            info.Type == MEM_IMAGE &&
            reinterpret_cast<uint32_t>(info.AllocationBase) == nominalBase + moduleBaseDelta();
        if (info.State != MEM_COMMIT || !executablesImage || (info.Protect & readable) == 0 ||
            (info.Protect & PAGE_GUARD) != 0)
            return false;
        address = reinterpret_cast<uint32_t>(info.BaseAddress) + info.RegionSize;
    }
    return true;
}

UnknownBuildReason reasonOf(GameVersion version) {
    if (version != GameVersion::Unknown) return UnknownBuildReason::None;
    return moduleBaseDelta() != 0 ? UnknownBuildReason::ExecutableMoved
                                  : UnknownBuildReason::NoBuildSignature;
}

} // namespace

GameVersion detectGameVersion() {
    // Most host addresses are absolute: a moved executable holds none of them where we look.
    if (moduleBaseDelta() != 0) return GameVersion::Unknown;
    for (const Probe& probe : probes) {
        const uint32_t address = adjustAddress(probe.address);
        uint32_t value = 0;
        if (!readableImageBytes(address, sizeof value)) continue;
        std::memcpy(&value, reinterpret_cast<const void*>(address), sizeof value);
        if (value == probeSignature) return probe.version;
    }
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

UnknownBuildReason unknownBuildReason() {
    return reasonOf(gameVersion());
}

void logBuild(GameVersion version) {
    const uint32_t base = nominalBase + moduleBaseDelta();
    if (version == GameVersion::Unknown) {
        if (reasonOf(version) == UnknownBuildReason::ExecutableMoved)
            logLine("the game's executable is loaded at 0x%08X rather than 0x%08X: the HUD's "
                    "game addresses are not there, so nothing is hooked and the HUD stays off",
                    base, nominalBase);
        else
            logLine("game build not recognised: nothing is hooked and the HUD stays off");
        return;
    }
    const int build = static_cast<int>(version);
    if (version == GameVersion::Build100)
        logLine("game build %d recognised: the whole HUD is drawn", build);
    else
        logLine("game build %d recognised: the game is hooked and the settings are read, but "
                "nothing is drawn (this build's drawing addresses are not known yet)",
                build);
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
