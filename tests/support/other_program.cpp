// A program that is not the game: its small image lies far from the game's, and where the game
// has its build probes (as far from the image's start as in the game) this program has memory
// reserved but not committed, so reading there would fault. Loading the plug-in into it must
// succeed. Exits with 0 when it does.
#include <windows.h>

#include <cstdio>

int main() {
    const auto image = reinterpret_cast<unsigned>(GetModuleHandleA(nullptr));
    const unsigned probeRegion = image + (0x5C0000 - 0x400000); // holds the three builds' probes
    VirtualAlloc(reinterpret_cast<void*>(probeRegion), 0x10000, MEM_RESERVE, PAGE_NOACCESS);
    MEMORY_BASIC_INFORMATION info{};
    VirtualQuery(reinterpret_cast<const void*>(probeRegion + 0x1E70), &info, sizeof info);
    if (info.State == MEM_COMMIT) {
        std::puts("the probe addresses hold memory here");
        return 2;
    }

    const HMODULE plugin = LoadLibraryA("tarvel_hud.dll");
    if (!plugin) {
        std::printf("loading failed: error %lu\n", GetLastError());
        return 1;
    }
    FreeLibrary(plugin);
    std::puts("loaded and unloaded");
    return 0;
}
