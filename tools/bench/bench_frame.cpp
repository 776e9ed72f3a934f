// What one HUD frame costs: the real plug-in in the simulated game with every element on
// screen, timed frame by frame against just reading the two configuration files' bytes, and
// the heap allocations the plug-in makes per frame. Prints figures; asserts nothing.
#include "sim/busy_game.h"
#include "sim/host_data.h"
#include "sim/sim.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

// The plug-in's calls to the C runtime's allocator, counted through its import table.
long allocations = 0;
using Malloc = void*(__attribute__((cdecl)) *)(size_t);
using Calloc = void*(__attribute__((cdecl)) *)(size_t, size_t);
using Realloc = void*(__attribute__((cdecl)) *)(void*, size_t);
Malloc realMalloc = nullptr;
Calloc realCalloc = nullptr;
Realloc realRealloc = nullptr;
void* __attribute__((cdecl)) countingMalloc(size_t size) {
    ++allocations;
    return realMalloc(size);
}
void* __attribute__((cdecl)) countingCalloc(size_t count, size_t size) {
    ++allocations;
    return realCalloc(count, size);
}
void* __attribute__((cdecl)) countingRealloc(void* block, size_t size) {
    ++allocations;
    return realRealloc(block, size);
}

// And its key-state reads, which cost a round trip to the Wine server each.
long keyStateReads = 0;
using KeyStateRead = SHORT(WINAPI*)(int);
KeyStateRead realGetKeyState = nullptr;
SHORT WINAPI countingGetKeyState(int key) {
    ++keyStateReads;
    return realGetKeyState(key);
}

void redirectImport(HMODULE module, const char* dll, const char* name, void* replacement,
                    void** original) {
    auto* base = reinterpret_cast<uint8_t*>(module);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(
        base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const auto& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* import = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
         import->Name; ++import) {
        if (_stricmp(reinterpret_cast<char*>(base + import->Name), dll) != 0) continue;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + import->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + import->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<char*>(byName->Name), name) != 0) continue;
            DWORD previous = 0;
            VirtualProtect(&slots->u1.Function, sizeof(void*), PAGE_READWRITE, &previous);
            *original = reinterpret_cast<void*>(slots->u1.Function);
            slots->u1.Function = reinterpret_cast<uintptr_t>(replacement);
            VirtualProtect(&slots->u1.Function, sizeof(void*), previous, &previous);
        }
    }
}

double nowMicroseconds() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1e6 / static_cast<double>(frequency.QuadPart);
}

template <class Work> double medianMicroseconds(int runs, Work work) {
    std::vector<double> times;
    times.reserve(runs);
    for (int i = 0; i < runs; ++i) {
        const double start = nowMicroseconds();
        work();
        times.push_back(nowMicroseconds() - start);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

std::string gameDirectory() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string text = path;
    return text.substr(0, text.find_last_of("\\/") + 1);
}

// One read of a whole file into one buffer, as a settings load does at the least.
void readBytes(const std::string& path, std::vector<char>& buffer) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return;
    std::fseek(file, 0, SEEK_END);
    buffer.resize(static_cast<size_t>(std::max(0L, std::ftell(file))));
    std::fseek(file, 0, SEEK_SET);
    buffer.resize(std::fread(buffer.data(), 1, buffer.size(), file));
    std::fclose(file);
}

} // namespace

int main() {
    constexpr int frames = 3000;
    sim::layOut(sim::Build::v100);
    HMODULE plugin = LoadLibraryA("tarvel_hud.dll");
    if (!plugin) {
        std::fprintf(stderr, "bench: tarvel_hud.dll could not be loaded\n");
        return 1;
    }
    redirectImport(plugin, "msvcrt.dll", "malloc", reinterpret_cast<void*>(&countingMalloc),
                   reinterpret_cast<void**>(&realMalloc));
    redirectImport(plugin, "msvcrt.dll", "calloc", reinterpret_cast<void*>(&countingCalloc),
                   reinterpret_cast<void**>(&realCalloc));
    redirectImport(plugin, "msvcrt.dll", "realloc", reinterpret_cast<void*>(&countingRealloc),
                   reinterpret_cast<void**>(&realRealloc));
    redirectImport(plugin, "user32.dll", "GetKeyState",
                   reinterpret_cast<void*>(&countingGetKeyState),
                   reinterpret_cast<void**>(&realGetKeyState));
    if (!realMalloc) std::printf("note: the plug-in imports no malloc; allocations not counted\n");

    sim::fire(sim::Event::Start);
    sim::fire(sim::Event::RadarPatch);
    sim::showEverything();
    auto frame = [] {
        sim::fire(sim::Event::HudDraw);
        sim::fire(sim::Event::PhoneDraw);
    };
    for (int i = 0; i < 200; ++i) {
        sim::advanceBusyFrame();
        frame();
        sim::clearCalls();
    }

    // The simulated game's own bookkeeping is not the plug-in's cost: calls are not kept.
    sim::setRecording(false);
    std::vector<double> frameTimes;
    long frameAllocations = 0;
    const long keyStateReadsBefore = keyStateReads;
    for (int i = 0; i < frames; ++i) {
        sim::advanceBusyFrame();
        sim::clearCalls();
        const long before = allocations;
        frameTimes.push_back(medianMicroseconds(1, frame));
        frameAllocations += allocations - before;
    }
    std::sort(frameTimes.begin(), frameTimes.end());
    const double frameMedian = frameTimes[frameTimes.size() / 2];
    sim::setRecording(true);
    sim::clearCalls();
    frame();
    const size_t hostCallsPerFrame = sim::calls().size();

    const std::string layout = gameDirectory() + "tarvel_moravik\\tarvel_III.ini";
    const std::string colours = gameDirectory() + "tarvel_moravik\\color_configs\\VColors.ini";
    std::vector<char> buffer;
    const double readMedian = medianMicroseconds(frames, [&] {
        readBytes(layout, buffer);
        readBytes(colours, buffer);
    });
    // Two system services the frame leans on, whose cost is the platform's (under Wine each
    // may be a round trip to the Wine server).
    const double keyState = medianMicroseconds(frames, [] { GetKeyState(0x50); });
    DWORD protection = 0;
    const double protect = medianMicroseconds(frames, [&] {
        VirtualProtect(reinterpret_cast<void*>(0x5052A0), 4, PAGE_EXECUTE_READWRITE, &protection);
        VirtualProtect(reinterpret_cast<void*>(0x5052A0), 4, protection, &protection);
    });
    FreeLibrary(plugin);

    std::printf("One HUD frame, every element on screen (%zu host calls), median of %d: %8.1f us\n",
                hostCallsPerFrame, frames, frameMedian);
    std::printf("Reading the two configuration files' bytes, median of %d:       %8.1f us\n",
                frames, readMedian);
    std::printf("Frame / file reads:                                               %8.2f\n",
                frameMedian / readMedian);
    std::printf("Plug-in heap allocations per frame:                              %8.2f\n",
                static_cast<double>(frameAllocations) / frames);
    std::printf("Plug-in key state reads per frame:                               %8.2f\n",
                static_cast<double>(keyStateReads - keyStateReadsBefore) / frames);
    std::printf("For scale: one GetKeyState %.1f us, one protection window (two VirtualProtect) "
                "%.1f us\n",
                keyState, protect);
    return 0;
}
