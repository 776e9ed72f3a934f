#pragma once
// The findings that need every file's keys: the lines no key was taken from (set again, meant
// for the other file, misspelt), and the whole findings of the two files a game directory holds.
#include "config/hud_settings.h"
#include "config/settings_report.h"

#include <string>
#include <string_view>
#include <vector>

// Once every key was taken: the lines no key was taken from (unknown, set again, or read from
// otherFile only) and what the line walk passed over in the others; then sorts by line.
void finishReport(SettingsFileReport& report, const IniReader& reader, bool layout,
                  const char* otherFile);

// readLayout and readColors with a report finished as above: the whole findings of the file.
void readLayoutFile(HudSettings& out, const IniReader& layout, SettingsFileReport* report);
void readColorFile(HudColors& out, const IniReader& colors, SettingsFileReport* report);

// The keys the HUD reads from the layout file (RELOAD_SETTINGS last) or from a colour file.
std::vector<std::string_view> keysOfFile(bool layout);

// The layout file and the colour file its RADAR_TYPE selects, read from under gameDirectory
// (which ends in a path separator) as the HUD reads them, in file order. A file that cannot be
// opened counts as unreadable.
std::vector<SettingsFinding> findSettingsFindings(const std::string& gameDirectory);
