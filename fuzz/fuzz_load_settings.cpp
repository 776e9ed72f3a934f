// Splits the input into the layout file and the two colour files, loads the settings from them
// and checks every field against the same texts parsed apart, and the findings of the reading
// against what was applied: the lines the findings call used are exactly the lines a setting
// was taken from. Built twice: fuzz_load_settings hands the texts over in memory and also
// checks that a layout read as single bytes gives the same settings and findings in UTF-16;
// fuzz_load_settings_files (FUZZ_THROUGH_FILES) writes them into a game folder and loads them
// from there, as the plug-in does.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <regex>
#include <string>
#include <string_view>
#include <system_error>
#include <type_traits>
#include <vector>

#include "config/hud_settings.h"
#include "config/settings_findings.h"
#include "config/utf8_files.h"
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

// Loads the settings as the plug-in does, each file read once for both its settings and its
// findings: open(name, reader) fills the reader with the named file and tells how that went.
template <class Open> std::vector<SettingsFinding> loadWith(HudSettings& out, Open open) {
    std::vector<SettingsFinding> findings;
    SettingsFileReport report;
    const auto read = [&](const char* name, auto apply) {
        requested.emplace_back(name);
        IniReader reader;
        startReport(report, name, open(name, reader), reader);
        apply(reader);
        findings.insert(findings.end(), report.findings.begin(), report.findings.end());
    };
    read(fileNames[0], [&](const IniReader& reader) { readLayoutFile(out, reader, &report); });
    read(colorFileFor(out.RADAR_TYPE),
         [&](const IniReader& reader) { readColorFile(out.colors, reader, &report); });
    return findings;
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
    // In memory where the system offers it: a disk file system flushes every rewritten file.
    std::error_code noMemoryFolder;
    std::string folder =
        std::filesystem::is_directory("/dev/shm", noMemoryFolder) ? "/dev/shm" : "/tmp";
    folder += "/tarvel_fuzz_XXXXXX";
    FUZZ_CHECK(mkdtemp(folder.data()) != nullptr);
    root = folder;
    std::atexit(removeRoot);
    std::filesystem::create_directories(pathOf("tarvel_moravik\\color_configs"));
}

std::vector<SettingsFinding> load(HudSettings& out) {
    for (std::size_t i = 0; i < 3; ++i)
        place(fileNames[i], parts[i]);
    return loadWith(out, [](const char* name, IniReader& reader) {
        return reader.load(resolve(name)) ? SettingsFileState::Read : SettingsFileState::Missing;
    });
}
#else
void prepare() {}

// An empty part reads as a missing file does: no entries.
std::vector<SettingsFinding> load(HudSettings& out, const std::string_view (&texts)[3] = parts) {
    return loadWith(out, [&](const char* name, IniReader& reader) {
        std::string_view text;
        for (std::size_t i = 0; i < 3; ++i)
            if (std::string_view(name) == fileNames[i]) text = texts[i];
        reader.parse(text.data(), text.size());
        return text.empty() ? SettingsFileState::Missing : SettingsFileState::Read;
    });
}

// The UTF-16 form of a text read as single bytes: Windows-1252, with a UTF-8 mark before a
// line's key kept as a mark (the one at the file's start is the file's own).
std::string utf16Of(std::string_view singleBytes) {
    constexpr std::string_view mark = "\xEF\xBB\xBF";
    if (singleBytes.starts_with(mark)) singleBytes.remove_prefix(3);
    std::string bytes = "\xFF\xFE";
    bool lineStart = true;
    for (std::size_t i = 0; i < singleBytes.size(); ++i) {
        char32_t code = 0xFEFF;
        if (lineStart && singleBytes.substr(i).starts_with(mark)) {
            i += 2;
        } else {
            const char c = singleBytes[i];
            code = fromWindows1252(static_cast<unsigned char>(c));
            lineStart =
                c == '\n' || c == '\r' || (lineStart && (c == ' ' || c == '\t' || c == '='));
        }
        bytes += {static_cast<char>(code & 0xFF), static_cast<char>(code >> 8)};
    }
    return bytes;
}

// A layout and colour file read as single bytes give the same settings and findings in UTF-16.
void checkUtf16Twin(const HudSettings& settings, const std::vector<SettingsFinding>& findings) {
    // A missing file stays missing.
    std::string twins[3];
    for (std::size_t i = 0; i < 3; ++i)
        twins[i] = parts[i].empty() ? "" : utf16Of(parts[i]);
    const std::string_view texts[3] = {twins[0], twins[1], twins[2]};
    static HudSettings twin;
    requested.clear();
    const std::vector<SettingsFinding> twinFindings = load(twin, texts);
    forEachSettingsField([&](std::string_view, auto field) {
        using Field = std::remove_reference_t<decltype(twin.*field)>;
        if constexpr (std::is_same_v<Field, float>)
            FUZZ_CHECK(sameFloat(twin.*field, settings.*field));
        else if constexpr (std::is_same_v<Field, FloatPair>)
            FUZZ_CHECK(sameFloat((twin.*field).x, (settings.*field).x) &&
                       sameFloat((twin.*field).y, (settings.*field).y));
        else
            FUZZ_CHECK(twin.*field == settings.*field);
    });
    forEachColorField([&](std::string_view, Rgba HudColors::*field) {
        FUZZ_CHECK(twin.colors.*field == settings.colors.*field);
    });
    FUZZ_CHECK(twin.reloadKey == settings.reloadKey);
    FUZZ_CHECK(twinFindings.size() == findings.size());
    for (std::size_t i = 0; i < findings.size(); ++i) {
        FUZZ_CHECK(twinFindings[i].line == findings[i].line);
        FUZZ_CHECK(twinFindings[i].text == findings[i].text);
        FUZZ_CHECK(twinFindings[i].message == findings[i].message);
        FUZZ_CHECK(twinFindings[i].used == findings[i].used);
    }
}
#endif

// The findings of one file agree with what was applied from it: a line a setting was taken
// from (the first line of a key the file holds) is never called ignored, and every other line
// with a key is called ignored, once. Findings name only lines the file has, in order.
void checkAgreement(const IniReader& reader, const std::vector<SettingsFinding>& findings,
                    const char* file, bool layout) {
    const int lines = static_cast<int>(reader.entries().empty() ? 0 : reader.entries().back().line);
    std::vector<int> ignored(static_cast<std::size_t>(lines) + 1, 0);
    std::vector<bool> used(static_cast<std::size_t>(lines) + 1, false);
    int previous = 0;
    for (const SettingsFinding& finding : findings) {
        if (finding.file != file) continue;
        FUZZ_CHECK(finding.line >= previous && (finding.line > 0 || previous == 0));
        previous = finding.line;
        if (finding.line == 0) {
            // A file whose lines are read is told only how its text was written.
            FUZZ_CHECK(reader.entries().empty() || finding.used);
            continue;
        }
        FUZZ_CHECK(finding.line <= lines);
        if (finding.used)
            used[static_cast<std::size_t>(finding.line)] = true;
        else
            ++ignored[static_cast<std::size_t>(finding.line)];
    }
    const std::vector<std::string_view> keys = keysOfFile(layout);
    for (const IniEntry& entry : reader.entries()) {
        const bool known = std::find(keys.begin(), keys.end(), entry.key) != keys.end();
        const bool applied = known && reader.find(entry.key).line == entry.line;
        const auto line = static_cast<std::size_t>(entry.line);
        FUZZ_CHECK(ignored[line] == (applied ? 0 : 1));
        FUZZ_CHECK(!(applied == false && used[line]));
    }
}

// The entry as a decimal key reads it: a comma is a decimal point when every word holding one is
// digits, a comma and digits (after a sign), and the value has as many words as numbers.
IniEntry withDecimalCommas(const IniEntry& entry, std::size_t numbers, std::string& text) {
    static const std::regex decimal("[+-]?[0-9]+,[0-9]+");
    text = entry.value;
    std::size_t words = 0;
    bool comma = false;
    for (std::size_t at = text.find_first_not_of(" \t"); at != std::string::npos;
         at = text.find_first_not_of(" \t", at)) {
        const std::size_t end = std::min(text.find_first_of(" \t", at), text.size());
        const std::string word = text.substr(at, end - at);
        if (word.find(',') != std::string::npos) {
            if (!std::regex_match(word, decimal)) return entry;
            comma = true;
        }
        ++words;
        at = end;
    }
    if (!comma || words != numbers) return entry;
    std::replace(text.begin(), text.end(), ',', '.');
    IniEntry read = entry;
    read.value = text;
    return read;
}

template <class Field>
void checkField(const IniEntry& written, const Field& actual, const Field& fallback) {
    std::string text;
    const IniEntry entry = withDecimalCommas(written,
                                             std::is_same_v<Field, FloatPair> ? 2
                                             : std::is_same_v<Field, float>   ? 1
                                                                              : 0,
                                             text);
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
    const std::vector<SettingsFinding> findings = load(settings);

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
    const std::int32_t code = reload.asInt(0);
    FUZZ_CHECK(settings.reloadKey == (!reload.asBool()                           ? 0
                                      : reloadsOnEveryCall(reload.value)         ? -1
                                      : code == -1 || (code >= 1 && code <= 254) ? code
                                                                                 : 0));

    checkAgreement(layout, findings, fileNames[0], true);
    checkAgreement(colors, findings, fileNames[colorFile], false);
#ifndef FUZZ_THROUGH_FILES
    const bool singleBytes =
        std::all_of(std::begin(parts), std::end(parts), [](std::string_view part) {
            const TextForm form = readerOf(part).form();
            return part.empty() || form == TextForm::Ascii || form == TextForm::SingleBytes;
        });
    if (singleBytes) checkUtf16Twin(settings, findings);
#endif
    return 0;
}
