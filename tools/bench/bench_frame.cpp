// What one HUD frame costs: the real plug-in in the simulated game with every element on
// screen, timed frame by frame against just reading the two configuration files' bytes, with
// what the plug-in asks of the system per frame. The simulated game's routines neither check
// nor log during the timed frames, so the figures are the plug-in's own work and its system
// calls. Prints figures; asserts nothing.
#include "sim/busy_game.h"
#include "sim/service_calls.h"
#include "sim/sim.h"
#include "texdict/texdict.h"
#include "windows/windows_paths.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

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

double median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// The median time of work, run `runs` times, each after an untimed prepare.
template <class Prepare, class Work>
double medianMicroseconds(int runs, Prepare prepare, Work work) {
    std::vector<double> times;
    times.reserve(runs);
    for (int i = 0; i < runs; ++i) {
        prepare(i);
        const double start = nowMicroseconds();
        work();
        times.push_back(nowMicroseconds() - start);
    }
    return median(std::move(times));
}
template <class Work> double medianMicroseconds(int runs, Work work) {
    return medianMicroseconds(
        runs, [](int) {}, work);
}

// As the 8-bit file calls below take it.
std::string gameDirectory() {
    const std::string path = inCodePage(modulePath()).value_or("");
    return path.substr(0, path.find_last_of("\\/") + 1);
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

// Sets a file's last write `secondsAgo` seconds back: long enough ago that the plug-in trusts
// what it parsed, and a different stamp for each distinct value.
void setWrittenAgo(const std::string& path, double secondsAgo) {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER ticks{};
    ticks.LowPart = now.dwLowDateTime;
    ticks.HighPart = now.dwHighDateTime;
    ticks.QuadPart -= static_cast<ULONGLONG>(secondsAgo * 1e7);
    const FILETIME written{ticks.LowPart, ticks.HighPart};
    HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    SetFileTime(file, nullptr, nullptr, &written);
    CloseHandle(file);
}

struct FrameFigures {
    double median = 0;
    sim::ServiceCalls perFrame; // totals over the frames; printed divided by their number
    int frames = 0;
    std::vector<std::string> lastOpened; // the files the last frame opened
};

void printFigures(const char* title, const FrameFigures& figures, double reads) {
    const double n = figures.frames;
    const sim::ServiceCalls& c = figures.perFrame;
    std::printf("%s, median of %d:  %8.1f us = %.2f x the file reads\n", title, figures.frames,
                figures.median, figures.median / reads);
    std::printf("    per frame: %.2f heap allocations, %.2f keyboard reads, %.2f file checks, "
                "%.2f file opens, %.2f protection windows\n",
                c.allocations / n, c.keyboardReads / n, c.fileChecks / n, c.fileOpens / n,
                c.protectionChanges / 2 / n);
    if (figures.lastOpened.empty()) return;
    std::string names;
    for (const std::string& path : figures.lastOpened)
        names += (names.empty() ? "" : ", ") + path.substr(path.find_last_of("\\/") + 1);
    std::printf("    files the last one opened: %s\n", names.c_str());
}

// What the simulated game does with the four texture dictionaries at a start: each file read
// and decoded whole by the reader its loader uses. Prints their size and the median time.
void benchDictionaries(const std::string& folder) {
    constexpr int loads = 9;
    const char* const files[] = {"tarvel_iii.txd", "ring_iii.txd", "radio_iii.txd",
                                 "phone_iii.txd"};
    size_t bytes = 0, textures = 0;
    bool readable = true;
    const double time = medianMicroseconds(loads, [&] {
        bytes = textures = 0;
        for (const char* file : files) {
            texdict::Dictionary dictionary;
            std::string error;
            if (!texdict::readFile(folder + file, dictionary, error)) readable = false;
            for (const auto& texture : dictionary.textures)
                bytes += texture.rgba.size();
            textures += dictionary.textures.size();
        }
    });
    size_t fileBytes = 0;
    for (const char* file : files) {
        std::vector<char> buffer;
        readBytes(folder + file, buffer);
        fileBytes += buffer.size();
    }
    if (!readable)
        std::printf("Some of the dictionaries in %s could not be read\n", folder.c_str());
    std::printf("The four texture dictionaries: %zu bytes (%.1f MB) of files, %zu textures, %zu "
                "bytes once decoded; loading them at a start, median of %d: %.1f ms\n",
                fileBytes, fileBytes / 1e6, textures, bytes, loads, time / 1000);
}

} // namespace

// bench_frame [FOLDER]: FOLDER holds other dictionaries to load than the shipped ones.
int main(int argc, char** argv) {
    constexpr int frames = 3000;
    constexpr int editedFrames = 1000;
    sim::layOut(sim::Build::v100);
    const std::string layout = gameDirectory() + "tarvel_moravik\\tarvel_III.ini";
    const std::string colours = gameDirectory() + "tarvel_moravik\\color_configs\\VColors.ini";
    setWrittenAgo(layout, 3600);
    setWrittenAgo(colours, 3600);
    HMODULE plugin = LoadLibraryA("tarvel_hud.dll");
    if (!plugin) {
        std::fprintf(stderr, "bench: tarvel_hud.dll could not be loaded\n");
        return 1;
    }
    sim::countServiceCalls(plugin);

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
    sim::clearCalls();
    frame();
    const size_t hostCallsPerFrame = sim::calls().size();

    sim::setRecording(false);
    auto timedFrames = [&](int count, auto prepare) {
        FrameFigures figures;
        figures.frames = count;
        sim::ServiceCalls total;
        figures.median = medianMicroseconds(
            count,
            [&](int i) {
                prepare(i);
                sim::advanceBusyFrame();
                sim::resetServiceCalls();
            },
            [&] {
                frame();
                const sim::ServiceCalls& c = sim::serviceCalls();
                total.allocations += c.allocations;
                total.keyboardReads += c.keyboardReads;
                total.fileChecks += c.fileChecks;
                total.fileOpens += c.fileOpens;
                total.protectionChanges += c.protectionChanges;
                figures.lastOpened = c.opened;
            });
        figures.perFrame = total;
        return figures;
    };
    const FrameFigures steady = timedFrames(frames, [](int) {});
    // Each timed frame follows an edit of the layout file: to the plug-in, a new last-write
    // time. The bytes stay, so the figure leaves out what a fresh write costs the file system.
    const FrameFigures edited =
        timedFrames(editedFrames, [&](int i) { setWrittenAgo(layout, 3600 + i); });
    sim::setRecording(true);

    std::vector<char> buffer;
    const double reads = medianMicroseconds(frames, [&] {
        readBytes(layout, buffer);
        readBytes(colours, buffer);
    });
    // System services the frame leans on, whose cost is the platform's (under Wine each may be
    // a round trip to the Wine server).
    BYTE keys[256];
    const double keyboard = medianMicroseconds(frames, [&] { GetKeyboardState(keys); });
    WIN32_FILE_ATTRIBUTE_DATA attributes;
    const double fileCheck = medianMicroseconds(
        frames, [&] { GetFileAttributesExA(layout.c_str(), GetFileExInfoStandard, &attributes); });
    DWORD protection = 0;
    const double protect = medianMicroseconds(frames, [&] {
        VirtualProtect(reinterpret_cast<void*>(0x5052A0), 4, PAGE_EXECUTE_READWRITE, &protection);
        VirtualProtect(reinterpret_cast<void*>(0x5052A0), 4, protection, &protection);
    });
    FreeLibrary(plugin);

    std::printf("One HUD frame with every element on screen (%zu host calls):\n",
                hostCallsPerFrame);
    std::printf("Reading the two configuration files' bytes, median of %d: %8.1f us\n", frames,
                reads);
    printFigures("A steady frame", steady, reads);
    printFigures("A frame right after an edit", edited, reads);
    std::printf("For scale: one GetKeyboardState %.1f us, one GetFileAttributesExA %.1f us, one "
                "protection window (two VirtualProtect) %.1f us\n",
                keyboard, fileCheck, protect);
    benchDictionaries(argc > 1 ? std::string(argv[1]) + "\\"
                               : gameDirectory() + "tarvel_moravik\\");
    return 0;
}
