#pragma once
// The report of one reading of a settings file, beside the settings: each line the HUD reads
// otherwise than written, ignores or replaces with a built-in value, with what it uses instead
// and how to write it. The readers note on it as they apply the file, so it cannot disagree
// with what they applied; finishReport (settings_findings.h) adds the lines no key was taken
// from. The player's log and the preview's page both list its findings.
#include "config/ini_reader.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct SettingsFinding {
    std::string file;    // relative to the game directory, as the HUD names it
    int line = 0;        // counted from 1; 0 when the whole file is at fault
    std::string text;    // the line as written (as UTF-8)
    std::string message; // what the HUD makes of it
    bool used = false;   // the line's key is applied, as the message says; else it is ignored
};

// How a settings file turned out when it was opened. Busy: there, but it could not be read
// whole now (an editor holds it while it saves), so the settings in use stay. MissingBesideTxt:
// missing, but a file of its name with .txt added is there (an editor added the ending, which
// Windows hides).
enum class SettingsFileState { Read, Missing, MissingBesideTxt, Unreadable, Busy };

// The findings of one settings file, in line order, and the form its text was read in.
struct SettingsFileReport {
    std::string file;
    TextForm form = TextForm::Empty;
    std::vector<SettingsFinding> findings;
};

// Starts the report of a file as it was opened and read: a file that is missing, cannot be
// read, is empty or is no text the HUD reads gets its one finding here.
void startReport(SettingsFileReport& report, const char* file, SettingsFileState state,
                 const IniReader& reader);

// Notes on the value a key was applied with: the entry it was taken from, the value applied
// and the key's built-in value.
void noteValue(SettingsFileReport& report, std::string_view key, const IniEntry& entry,
               const std::string& applied, const std::string& builtIn);
void noteValue(SettingsFileReport& report, std::string_view key, const IniEntry& entry,
               FloatPair applied, FloatPair builtIn);
void noteValue(SettingsFileReport& report, std::string_view key, const IniEntry& entry,
               float applied, float builtIn);
void noteValue(SettingsFileReport& report, std::string_view key, const IniEntry& entry,
               std::int32_t applied, std::int32_t builtIn);
void noteValue(SettingsFileReport& report, std::string_view key, const IniEntry& entry,
               bool applied, bool builtIn);
void noteValue(SettingsFileReport& report, std::string_view key, const IniEntry& entry,
               Rgba applied, Rgba builtIn);

// For a colour key whose element fades or animates, what its alpha comes from instead of the
// colour's ("the money's alpha comes from its show and fade"); empty for the others.
std::string_view alphaOfColourFrom(std::string_view key);

// Notes on the RELOAD_SETTINGS line: a word it does not take sets no reload key.
void noteReloadKey(SettingsFileReport& report, const IniEntry& entry);

// Adds a finding on the entry's line.
void addFinding(SettingsFileReport& report, const IniEntry& entry, bool used, std::string message);

// The words of a text, one space between each: how a finding writes a line as it should be.
std::string singleSpaced(std::string_view text);

// The form's name for the log, or nullptr for plain ASCII.
const char* textFormName(TextForm form);
