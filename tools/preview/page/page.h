#pragma once
// The preview's page: index.html beside the frames, made from one template, and the data it
// shows in preview-data.js. A page opened from file:// cannot fetch files, so the data is a
// script that calls previewData(...), and the page loads it again every half second.
#include "tools/preview/check/settings_problems.h"
#include "tools/preview/render/capture_layout.h"

#include "config/ini_reader.h"

#include <string>
#include <vector>

namespace preview {

struct PageFrame {
    std::string image; // the PNG's file name, beside the page
    CaptureLayout layout;
};

// How many lines of one settings file gave a setting, of those that look like one: past blanks,
// neither empty nor a comment, whatever their line ends.
struct SettingsLines {
    std::string file; // relative to the game directory
    int keyLines = 0;
    int settings = 0;
};

// The layout file and the colour file its RADAR_TYPE selects, under gameDirectory (which ends
// in a path separator), read as the HUD reads them.
std::vector<SettingsLines> countSettingsLines(const std::string& gameDirectory);
// What the console and the page say of them: "tarvel_moravik\tarvel_III.ini: 52 of 52 lines
// with a key gave a setting; ...".
std::string settingsLinesNote(const std::vector<SettingsLines>& files);
// Whether each file gave a setting from every line with a key, and at least one.
bool everyLineGaveASetting(const std::vector<SettingsLines>& files);

// The value the HUD takes for a key, and where from: the file (relative to the game directory),
// its name for the editor's requests ("layout", "IIIColors", "VColors") and the line; line 0
// for a colour key no line of the colour file gives, which the HUD takes built in.
struct SettingValue {
    std::string key, value, file, editedAs;
    int line = 0;
    bool colour = false;
    Rgba drawn{}, builtIn{}; // a colour key's: the colour the HUD draws with, and its own
};
// Every value the HUD takes from the two files countSettingsLines reads, and every colour key.
std::vector<SettingValue> settingValues(const std::string& gameDirectory);

struct PageData {
    std::string rendered; // when, as the page shows it
    long long stamp = 0;  // differs for every render: the page reloads its images when it does
    std::vector<SettingsProblem> problems;
    std::vector<SettingsLines> settingsLines;
    std::vector<SettingValue> settings;
    std::vector<std::string> missingTextures; // each as the console says it
    std::string summary;                      // the console's last line
    size_t problemCount = 0;                  // the problems it counts
    std::vector<PageFrame> frames;
};

// The data as the script the page loads.
std::string pageScript(const PageData& data);

// Writes preview-data.js into folder, whole or not at all.
bool writePageData(const std::string& folder, const PageData& data, std::string& error);

// Copies the template to folder/index.html unless the same page is there already, so that an
// open page is not reloaded for nothing.
bool writePage(const std::string& templatePath, const std::string& folder, std::string& error);

} // namespace preview
