#include "plugin/hud_log.h"
#include "config/utf8_files.h"
#include "plugin/data_paths.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

struct LogState {
    std::string path;
    bool usable = false;      // created at load, or taken up since
    bool createLater = false; // could not be created at load: tried again with the next line
    bool full = false;
    long size = 0;
};
// Reached through a function: the log is started from another file's static object.
LogState& state() {
    static LogState log;
    return log;
}

constexpr char fullNotice[] = "(the log is full at 64 KB: later lines are left out)\r\n";

// Appends bytes as they are; a failed write is simply skipped.
void append(const char* text, size_t length) {
    LogState& current = state();
    std::FILE* file = openUtf8File(current.path.c_str(), "ab");
    if (!file) return;
    current.size += static_cast<long>(std::fwrite(text, 1, length, file));
    std::fclose(file);
}

std::string pluginFileName() {
    const std::string file = pluginFile();
    return file.empty() ? "(unknown)" : file;
}

// Creates the log afresh, headed by the version and the plug-in's file. False when another
// program holds it.
bool create(const char* lostNote) {
    LogState& current = state();
    std::FILE* file = openUtf8File(current.path.c_str(), "wb");
    if (!file) return false;
    std::fclose(file);
    current.usable = true;
    current.createLater = false;
    logLine("tarvel_moravik HUD %s, loaded from %s%s", HUD_VERSION_TEXT, pluginFileName().c_str(),
            lostNote);
    return true;
}

} // namespace

void startLog() {
    try {
        LogState& current = state();
        current = {};
        current.path = std::string(gameDirectory()) + logFile;
        current.createLater = !create("");
    } catch (...) {
        state().usable = false;
    }
}

void logSecondCopy(const char* runningCopy) {
    try {
        LogState& current = state();
        current = {};
        current.path = std::string(gameDirectory()) + logFile;
        std::wstring wide;
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (GetFileAttributesExW(widePath(current.path.c_str(), wide), GetFileExInfoStandard,
                                 &data))
            current.size = static_cast<long>(data.nFileSizeLow);
        current.usable = true;
        logLine("tarvel_moravik HUD %s loaded a second time, from %s, while the copy loaded from "
                "%s runs: this copy changes nothing in the game. Delete one of the two files",
                HUD_VERSION_TEXT, pluginFileName().c_str(), runningCopy);
    } catch (...) {
        state().usable = false;
    }
}

void logLine(const char* format, ...) {
    LogState& current = state();
    if (current.createLater) {
        try {
            create("; another program held this log open when the game loaded the HUD, so "
                   "the lines of that load are lost");
        } catch (...) {
        }
    }
    if (!current.usable || current.full) return;
    char line[1024];
    va_list values;
    va_start(values, format);
    const int formatted = std::vsnprintf(line, sizeof line - 2, format, values);
    va_end(values);
    if (formatted < 0) return;
    size_t length = std::strlen(line);
    std::memcpy(line + length, "\r\n", 2);
    length += 2;
    if (current.size + static_cast<long>(length + sizeof fullNotice - 1) > logCapacity) {
        current.full = true;
        append(fullNotice, sizeof fullNotice - 1);
        return;
    }
    append(line, length);
}
