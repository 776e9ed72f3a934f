#pragma once
// The lines of the HUD's settings files that cannot be used as written, with what the HUD does
// instead: such a line, or a whole file that cannot be read, quietly takes the built-in defaults.
// The player's log and the preview's page both list them.
#include <string>
#include <string_view>
#include <vector>

struct SettingsFinding {
    std::string file;    // relative to the game directory, as the HUD names it
    int line = 0;        // counted from 1; 0 when the whole file is at fault
    std::string text;    // the line as written
    std::string message; // what the HUD makes of it
};

// How a settings file turned out when it was read.
enum class SettingsFileState { Read, Missing, Unreadable };

// The findings of one settings file (the layout file or a colour file), in line order. bytes is
// what was read when state is Read. colorFile is the colour file the layout selects: a colour key
// in the layout file belongs there.
std::vector<SettingsFinding> findFileProblems(const char* file, SettingsFileState state,
                                              std::string_view bytes, const char* colorFile);

// Reads a settings file's bytes, up to a little past the most the HUD reads; false when the
// file cannot be opened.
bool readSettingsBytes(const std::string& path, std::string& bytes);

// The layout file and the colour file its RADAR_TYPE selects, read from under gameDirectory
// (which ends in a path separator), in file order. A file that cannot be opened counts as
// unreadable.
std::vector<SettingsFinding> findSettingsFindings(const std::string& gameDirectory);
