// Prints what one settings load costs beside what merely reading the two files' bytes costs,
// so parsing and conversion overhead can be judged against the unavoidable file I/O.
// Usage: bench_settings [folder holding tarvel_moravik/]   (default: data)

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "config/hud_settings.h"
#include "config/settings_findings.h"

namespace {

std::string dataRoot = "data";

const char* resolve(const char* relativeName) {
    static std::string path;
    path = dataRoot + "/" + relativeName;
    std::replace(path.begin(), path.end(), '\\', '/');
    return path.c_str();
}

// The same I/O the reader does: open, size, one read into one buffer.
std::size_t readBytes(const char* path, std::vector<char>& buffer) {
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) return 0;
    std::fseek(file, 0, SEEK_END);
    const long size = std::ftell(file);
    std::fseek(file, 0, SEEK_SET);
    buffer.resize(size > 0 ? static_cast<std::size_t>(size) : 0);
    const std::size_t read = std::fread(buffer.data(), 1, buffer.size(), file);
    std::fclose(file);
    return read;
}

template <class Work> double microsecondsPerCall(int calls, Work work) {
    work(); // warm the file cache
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < calls; ++i)
        work();
    const std::chrono::duration<double, std::micro> spent =
        std::chrono::steady_clock::now() - start;
    return spent.count() / calls;
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 1) dataRoot = argv[1];
    constexpr int calls = 5000;

    HudSettings settings;
    loadSettingsWith(settings, resolve);
    const std::string layoutPath = resolve("tarvel_moravik\\tarvel_III.ini");
    const std::string colorPath = resolve(colorFileFor(settings.RADAR_TYPE));

    std::vector<char> buffer;
    const std::size_t layoutBytes = readBytes(layoutPath.c_str(), buffer);
    const std::size_t colorBytes = readBytes(colorPath.c_str(), buffer);
    if (layoutBytes == 0)
        std::printf("warning: %s is missing or empty; the load falls back to defaults\n",
                    layoutPath.c_str());

    std::size_t sink = 0;
    const double readOnly = microsecondsPerCall(calls, [&] {
        sink += readBytes(layoutPath.c_str(), buffer);
        sink += readBytes(colorPath.c_str(), buffer);
    });
    const double fullLoad = microsecondsPerCall(calls, [&] {
        loadSettingsWith(settings, resolve);
        sink += settings.WEAPON_NAMES.size();
    });

    // What the plug-in does after an edit: one reading of each file gives its settings and its
    // findings.
    IniReader layoutReader, colorReader;
    SettingsFileReport layoutReport, colorReport;
    const double withFindings = microsecondsPerCall(calls, [&] {
        layoutReader.load(layoutPath.c_str());
        startReport(layoutReport, layoutFile, SettingsFileState::Read, layoutReader);
        readLayoutFile(settings, layoutReader, &layoutReport);
        colorReader.load(colorPath.c_str());
        startReport(colorReport, colorFileFor(settings.RADAR_TYPE), SettingsFileState::Read,
                    colorReader);
        readColorFile(settings.colors, colorReader, &colorReport);
        sink += layoutReport.findings.size() + colorReport.findings.size() + 1;
    });

    // The same without the files: the bytes already in memory, parsed and applied.
    std::vector<char> layoutText, colorText;
    readBytes(layoutPath.c_str(), layoutText);
    readBytes(colorPath.c_str(), colorText);
    const double inMemory = microsecondsPerCall(calls, [&] {
        layoutReader.parse(layoutText.data(), layoutText.size());
        startReport(layoutReport, layoutFile, SettingsFileState::Read, layoutReader);
        readLayoutFile(settings, layoutReader, &layoutReport);
        colorReader.parse(colorText.data(), colorText.size());
        startReport(colorReport, colorFileFor(settings.RADAR_TYPE), SettingsFileState::Read,
                    colorReader);
        readColorFile(settings.colors, colorReader, &colorReport);
        sink += layoutReport.findings.size() + 1;
    });

    std::printf("files: %s (%zu bytes), %s (%zu bytes); %d calls each\n", layoutPath.c_str(),
                layoutBytes, colorPath.c_str(), colorBytes, calls);
    std::printf("%-28s %10.2f us per call\n", "reading both files' bytes", readOnly);
    std::printf("%-28s %10.2f us per call  (%.2f x reading, parse and convert %.2f us)\n",
                "loadSettingsWith", fullLoad, fullLoad / readOnly, fullLoad - readOnly);
    std::printf("%-28s %10.2f us per call  (%.2f x reading, %zu findings)\n",
                "the same with the findings", withFindings, withFindings / readOnly,
                layoutReport.findings.size() + colorReport.findings.size());
    std::printf("%-28s %10.2f us per call  (%.2f x reading)\n", "the same from bytes in memory",
                inMemory, inMemory / readOnly);
    return sink == 0 ? 1 : 0;
}
