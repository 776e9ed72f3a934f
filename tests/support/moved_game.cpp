// The game's executable loaded at another base: its image lies at 0x10000000 and holds, as far
// from its start as in the game, build 100's signature bytes and its event call sites. Loading
// the plug-in must leave all of it untouched, since most host addresses are absolute. Exits
// with 0 when it does.
#include "host/host_addresses.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <vector>

extern "C" unsigned char moved_game_image[0x6FF000];

namespace {

int __attribute__((cdecl)) gamesCallee() {
    return 7;
}

uint8_t* moved(uint32_t nominal) {
    return reinterpret_cast<uint8_t*>(nominal - 0x400000 +
                                      reinterpret_cast<uint32_t>(GetModuleHandleA(nullptr)));
}

} // namespace

int main() {
    const auto& a = build100Addresses;
    std::memcpy(moved(a.versionProbe), "\x55\x89\xE5\x53", 4);
    for (uint32_t site : {a.startCall, a.hudDrawCall, a.phoneDrawCall, a.radarSetupCall,
                          a.shutdownCall, a.reloadKeyCall}) {
        uint8_t* code = moved(site);
        const uint32_t displacement =
            reinterpret_cast<uint32_t>(&gamesCallee) - reinterpret_cast<uint32_t>(code) - 5;
        code[0] = 0xE8;
        std::memcpy(code + 1, &displacement, 4);
        code[5] = 0xC3;
    }
    const std::vector<unsigned char> before(std::begin(moved_game_image),
                                            std::end(moved_game_image));

    const HMODULE plugin = LoadLibraryA("tarvel_hud.dll");
    if (!plugin) {
        std::printf("loading failed: error %lu\n", GetLastError());
        return 1;
    }
    const bool untouched = std::memcmp(before.data(), moved_game_image, before.size()) == 0;
    FreeLibrary(plugin);
    if (!untouched) {
        std::puts("the plug-in wrote into the moved game");
        return 3;
    }
    std::puts("loaded and unloaded, nothing touched");
    return 0;
}
