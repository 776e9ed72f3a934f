// Splits the input into the layout file and the two colour files, loads the settings from them
// and checks every field against the same texts parsed apart. Built twice: fuzz_load_settings
// hands the texts over in memory; fuzz_load_settings_files (FUZZ_THROUGH_FILES) writes them into
// a game folder and loads them from there, as the plug-in does.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <string>
#include <string_view>
#include <system_error>
#include <type_traits>
#include <vector>

#include "config/hud_settings.h"
#include "config/settings_findings.h"
#include "fuzz_check.h"

namespace {

constexpr const char* fileNames[] = {
    "tarvel_moravik\\tarvel_III.ini",
    "tarvel_moravik\\color_configs\\IIIColors.ini",
    "tarvel_moravik\\color_configs\\VColors.ini",
};

std::vector<std::string> requested;
std::string_view parts[3]; // this input's texts, in the order of fileNames

IniReader readerOf(std::string_view bytes) {
    IniReader reader;
    reader.parse(bytes.data(), bytes.size());
    return reader;
}

#ifdef FUZZ_THROUGH_FILES
std::string root; // a folder of this process's own, so that parallel fuzzers do not meet

std::string pathOf(const char* relativeName) {
    std::string path = root + "/" + relativeName;
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

const char* resolve(const char* relativeName) {
    static std::string path; // like the game's: one shared answer, used before the next call
    requested.emplace_back(relativeName);
    path = pathOf(relativeName);
    return path.c_str();
}

// An empty part stands for a missing file, so that unreadable files are fuzzed as well.
void place(const char* relativeName, std::string_view bytes) {
    const std::string path = pathOf(relativeName);
    if (bytes.empty()) {
        std::remove(path.c_str());
        return;
    }
    std::FILE* file = std::fopen(path.c_str(), "wb");
    FUZZ_CHECK(file != nullptr);
    FUZZ_CHECK(std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size());
    FUZZ_CHECK(std::fclose(file) == 0);
}

void removeRoot() {
    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
}

void prepare() {
    char folder[] = "/tmp/tarvel_fuzz_XXXXXX";
    FUZZ_CHECK(mkdtemp(folder) != nullptr);
    root = folder;
    std::atexit(removeRoot);
    std::filesystem::create_directories(pathOf("tarvel_moravik\\color_configs"));
}

void load(HudSettings& out) {
    for (std::size_t i = 0; i < 3; ++i)
        place(fileNames[i], parts[i]);
    loadSettingsWith(out, resolve);
}
#else
void prepare() {}

// An empty part reads as a missing file does: no entries.
void load(HudSettings& out) {
    loadSettingsThrough(out, [](const char* name, IniReader& reader) {
        requested.emplace_back(name);
        for (std::size_t i = 0; i < 3; ++i)
            if (requested.back() == fileNames[i]) reader.parse(parts[i].data(), parts[i].size());
    });
}
#endif

template <class Field>
void checkField(const IniEntry& entry, const Field& actual, const Field& fallback) {
    if constexpr (std::is_same_v<Field, float>) {
        FUZZ_CHECK(std::isfinite(actual));
        FUZZ_CHECK(sameFloat(actual, entry.asFloat(fallback)));
    } else if constexpr (std::is_same_v<Field, FloatPair>) {
        FUZZ_CHECK(std::isfinite(actual.x) && std::isfinite(actual.y));
        const FloatPair expected = entry.asFloatPair(fallback.x, fallback.y);
        FUZZ_CHECK(sameFloat(actual.x, expected.x) && sameFloat(actual.y, expected.y));
    } else if constexpr (std::is_same_v<Field, std::string>) {
        FUZZ_CHECK(actual == entry.asString(fallback));
    } else if constexpr (std::is_same_v<Field, std::int32_t>) {
        FUZZ_CHECK(actual == entry.asInt(fallback));
    } else {
        static_assert(std::is_same_v<Field, bool>);
        FUZZ_CHECK(actual == entry.asBool());
    }
}

// Kept from run to run: every load must overwrite all that an earlier one left.
HudSettings settings;

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    prepare();
    // No file gives NaN, so a field that a load leaves alone shows.
    forEachSettingsField([](std::string_view, auto field) {
        using Field = std::remove_reference_t<decltype(settings.*field)>;
        if constexpr (std::is_same_v<Field, float>)
            settings.*field = std::numeric_limits<float>::quiet_NaN();
        else if constexpr (std::is_same_v<Field, FloatPair>)
            settings.*field = {std::numeric_limits<float>::quiet_NaN(), 0.0f};
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // NUL bytes split the input: layout file, then IIIColors.ini, then VColors.ini (the last
    // part may hold NULs of its own).
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    for (std::size_t i = 0; i < 2; ++i) {
        const std::size_t nul = rest.find('\0');
        parts[i] = rest.substr(0, nul);
        rest = nul == std::string_view::npos ? std::string_view{} : rest.substr(nul + 1);
    }
    parts[2] = rest;

    requested.clear();
    load(settings);

    static const HudSettings defaults;
    const IniReader layout = readerOf(parts[0]);
    forEachSettingsField([&](std::string_view key, auto field) {
        checkField(layout.find(key), settings.*field, defaults.*field);
    });

    // RADAR_TYPE 1 picks IIIColors.ini, every other value VColors.ini; colours come from that
    // file alone.
    const std::size_t colorFile = settings.RADAR_TYPE == 1 ? 1 : 2;
    FUZZ_CHECK(requested.size() == 2);
    FUZZ_CHECK(requested[0] == fileNames[0]);
    FUZZ_CHECK(requested[1] == fileNames[colorFile]);
    const IniReader colors = readerOf(parts[colorFile]);
    forEachColorField([&](std::string_view key, Rgba HudColors::*field) {
        FUZZ_CHECK(settings.colors.*field == colors.find(key).asColor(defaults.colors.*field));
    });

    const IniEntry reload = layout.find("RELOAD_SETTINGS");
    FUZZ_CHECK(settings.reloadKey == (reload.asBool() ? reload.asInt(-1) : 0));

    // The findings the log lists name only lines the files have, in order; one line may carry
    // two (a value written unlike a number that also falls back).
    for (const std::size_t file : {std::size_t{0}, colorFile}) {
        const auto state =
            parts[file].empty() ? SettingsFileState::Missing : SettingsFileState::Read;
        const int lines =
            static_cast<int>(std::count(parts[file].begin(), parts[file].end(), '\n')) + 1;
        int previous = 0;
        for (const SettingsFinding& finding :
             findFileProblems(fileNames[file], state, parts[file], fileNames[colorFile])) {
            FUZZ_CHECK(finding.file == fileNames[file]);
            FUZZ_CHECK(finding.line >= previous && (finding.line > 0 || previous == 0));
            FUZZ_CHECK(finding.line <= lines);
            previous = finding.line;
        }
    }
    return 0;
}
