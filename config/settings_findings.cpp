#include "config/settings_findings.h"

#include "config/edit_distance.h"
#include "config/utf8_files.h"

#include <algorithm>
#include <cctype>
#include <cerrno>

namespace {

// Whether no file is at the path, as the HUD's log would say it, rather than one it cannot read.
bool isMissing(const std::string& path) {
    errno = 0;
    std::FILE* const file = openUtf8File(path.c_str(), "rb");
    if (file) std::fclose(file);
    return !file && errno == ENOENT;
}

std::string upper(std::string_view text) {
    std::string result(text);
    for (char& c : result)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return result;
}

// The known key an unknown one most likely means: the same letters in another case, else the
// nearest one or two edits away.
std::string guessOf(std::string_view key, const std::vector<std::string_view>& keys) {
    const std::string upperKey = upper(key);
    for (const std::string_view known : keys) {
        if (known == upperKey)
            return "did you mean " + std::string(known) + "? keys are upper case";
    }
    std::string_view best;
    size_t bestEdits = 3;
    for (const std::string_view known : keys) {
        const size_t edits = editDistance(upperKey, known, 2);
        if (edits < bestEdits) best = known, bestEdits = edits;
    }
    if (best.empty()) return "";
    return "did you mean " + std::string(best) + "?" +
           (upperKey != key && editDistance(upperKey, best, 2) < editDistance(key, best, 2)
                ? " keys are upper case"
                : "");
}

// "KEY = value" for a line that sets a known key with a colon ("MONEY_SCALE: 0.6 1.2",
// "MONEY_SCALE:0.6 1.2"), as the HUD would read it; else empty.
std::string keySetWithColon(const IniEntry& entry, const std::vector<std::string_view>& keys) {
    const size_t colon = entry.key.find(':');
    if (colon == std::string_view::npos) return "";
    const std::string known = upper(entry.key.substr(0, colon));
    if (std::find(keys.begin(), keys.end(), known) == keys.end()) return "";
    const std::string value =
        singleSpaced(std::string(entry.key.substr(colon + 1)) + " " + std::string(entry.value));
    return known + " = " + value;
}

} // namespace

void finishReport(SettingsFileReport& report, const IniReader& reader, bool layout,
                  const char* otherFile) {
    std::vector<std::string_view> keys, otherKeys;
    for (const IniEntry& entry : reader.entries()) {
        if (entry.used) {
            if (entry.markSkipped)
                addFinding(
                    report, entry, true,
                    "the line begins with a byte-order mark, as where two files were joined: "
                    "the HUD skips the mark and reads " +
                        std::string(entry.key) + " = " + std::string(entry.value));
            if (entry.noEquals)
                addFinding(report, entry, true,
                           std::string(entry.key) + " has no '=': the HUD reads it as " +
                               std::string(entry.key) + " = " + std::string(entry.value) +
                               "; write it so");
            continue;
        }
        if (keys.empty()) keys = keysOfFile(layout), otherKeys = keysOfFile(!layout);
        const std::string key(entry.key);
        if (std::find(keys.begin(), keys.end(), entry.key) != keys.end()) {
            const IniEntry first = reader.find(entry.key);
            // The first line may itself fall back: then it tells what the HUD uses.
            const bool firstNoted =
                std::any_of(report.findings.begin(), report.findings.end(),
                            [&](const SettingsFinding& f) { return f.line == first.line; });
            addFinding(report, entry, false,
                       key + " is set again: the HUD " + (firstNoted ? "reads" : "uses") +
                           " line " + std::to_string(first.line) + ", " + key + " = " +
                           std::string(first.value) +
                           (firstNoted ? " (see that line for what it uses)" : "") +
                           ", and ignores this one");
        } else if (std::find(otherKeys.begin(), otherKeys.end(), entry.key) != otherKeys.end()) {
            addFinding(report, entry, false,
                       key + " is read from " + otherFile + " only: ignored here; write it there");
        } else if (entry.key.starts_with("//")) {
            addFinding(report, entry, false,
                       "a comment starts with # or ;, not //: the HUD ignores this line as a key " +
                           key + "; write # " +
                           singleSpaced(entry.text.substr(entry.text.find("//") + 2)));
        } else if (const std::string meant = keySetWithColon(entry, keys); !meant.empty()) {
            addFinding(report, entry, false,
                       key +
                           " is no key the HUD reads: ignored; a colon does not set a key: write " +
                           meant);
        } else {
            std::string guess = guessOf(entry.key, keys);
            if (guess.empty() && !(guess = guessOf(entry.key, otherKeys)).empty())
                guess += " it is read from " + std::string(otherFile) + " only";
            addFinding(report, entry, false,
                       key + " is no key the HUD reads: ignored" +
                           (guess.empty() ? "" : "; " + guess));
        }
    }
    std::stable_sort(
        report.findings.begin(), report.findings.end(),
        [](const SettingsFinding& a, const SettingsFinding& b) { return a.line < b.line; });
}

std::vector<std::string_view> keysOfFile(bool layout) {
    std::vector<std::string_view> keys;
    if (layout) {
        forEachSettingsField([&](std::string_view key, auto) { keys.push_back(key); });
        keys.push_back("RELOAD_SETTINGS");
    } else {
        forEachColorField([&](std::string_view key, auto) { keys.push_back(key); });
    }
    return keys;
}

void readLayoutFile(HudSettings& out, const IniReader& layout, SettingsFileReport* report) {
    readLayout(out, layout, report);
    if (report) finishReport(*report, layout, true, colorFileFor(out.RADAR_TYPE));
}

void readColorFile(HudColors& out, const IniReader& colors, SettingsFileReport* report) {
    readColors(out, colors, report);
    if (report) finishReport(*report, colors, false, layoutFile);
}

std::vector<SettingsFinding> findSettingsFindings(const std::string& gameDirectory) {
    std::vector<SettingsFinding> findings;
    HudSettings settings;
    SettingsFileReport report;
    const auto read = [&](const char* file, auto apply) {
        IniReader reader;
        const std::string path = gameDirectory + file;
        const bool opened = reader.load(path.c_str());
        const bool missing = !opened && isMissing(path);
        startReport(report, file,
                    opened                                 ? SettingsFileState::Read
                    : missing && !isMissing(path + ".txt") ? SettingsFileState::MissingBesideTxt
                    : missing                              ? SettingsFileState::Missing
                                                           : SettingsFileState::Unreadable,
                    reader);
        apply(reader);
        findings.insert(findings.end(), report.findings.begin(), report.findings.end());
    };
    read(layoutFile, [&](const IniReader& reader) { readLayoutFile(settings, reader, &report); });
    read(colorFileFor(settings.RADAR_TYPE),
         [&](const IniReader& reader) { readColorFile(settings.colors, reader, &report); });
    return findings;
}
