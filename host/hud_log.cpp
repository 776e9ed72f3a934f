#include "host/hud_log.h"
#include "config/utf8_files.h"

#include <windows.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

struct LogState {
    std::string path;
    std::string pluginFile; // the file this copy was loaded from, named in the log's first line
    // Held from creation to unload: an edit frame's lines then cost a write each, not an open.
    // Other programs may read, write and delete it meanwhile.
    HANDLE file = INVALID_HANDLE_VALUE;
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

// Opens the log for writing, afresh or to add to it. False when another program holds it.
bool open(DWORD disposition) {
    LogState& current = state();
    current.file = CreateFileW(wideFromUtf8(current.path).c_str(), GENERIC_WRITE,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    return current.file != INVALID_HANDLE_VALUE;
}

// Appends bytes as they are, after whatever another copy of the plug-in added; a failed write
// is simply skipped.
void append(const char* text, size_t length) {
    LogState& current = state();
    DWORD written = 0;
    if (!SetFilePointerEx(current.file, LARGE_INTEGER{}, nullptr, FILE_END) ||
        !WriteFile(current.file, text, static_cast<DWORD>(length), &written, nullptr))
        return;
    current.size += static_cast<long>(written);
}

// Creates the log afresh, headed by the version and the plug-in's file. False when another
// program holds it.
bool create(const char* lostNote) {
    if (!open(CREATE_ALWAYS)) return false;
    state().createLater = false;
    logLine("tarvel_moravik HUD %s, loaded from %s%s", HUD_VERSION_TEXT, state().pluginFile.c_str(),
            lostNote);
    return true;
}

// Lets go of any log held before and points at this game's.
LogState& restart(const LogPlace& place) {
    closeLog();
    LogState& current = state();
    current = {};
    current.path = place.gameDirectory + logFile;
    current.pluginFile = place.pluginFile.empty() ? "(unknown)" : place.pluginFile;
    return current;
}

// Points at this game's log and adds to what is there, as the copy before this one left it.
bool reopen(const LogPlace& place) {
    LogState& current = restart(place);
    LARGE_INTEGER size{};
    if (!open(OPEN_ALWAYS) || !GetFileSizeEx(current.file, &size)) return false;
    current.size = static_cast<long>(std::min<LONGLONG>(size.QuadPart, logCapacity));
    return true;
}

} // namespace

void startLog(const LogPlace& place) {
    try {
        // Two statements: in one assignment the right side would run first, on the old path.
        LogState& current = restart(place);
        current.createLater = !create("");
    } catch (...) {
        closeLog();
    }
}

void logSecondCopy(const LogPlace& place, const char* runningCopy, bool olderRelease) {
    try {
        if (!reopen(place)) return;
        if (olderRelease)
            logLine("tarvel_moravik HUD %s loaded a second time, from %s, while the copy loaded "
                    "from %s, of an older release, runs: this copy waits and changes nothing in "
                    "the game. That release hands the game to no other copy, so this one draws "
                    "nothing until the game is started again: delete one of the two files",
                    HUD_VERSION_TEXT, state().pluginFile.c_str(), runningCopy);
        else
            logLine("tarvel_moravik HUD %s loaded a second time, from %s, while the copy loaded "
                    "from %s runs: this copy waits, changes nothing in the game and takes over if "
                    "that copy is unloaded. Unless a loader reloads the HUD while you play, delete "
                    "one of the two files",
                    HUD_VERSION_TEXT, state().pluginFile.c_str(), runningCopy);
    } catch (...) {
        closeLog();
    }
}

void logTakeOver(const LogPlace& place, const char* previousCopy) {
    try {
        if (!reopen(place)) return;
        logLine("tarvel_moravik HUD %s, loaded from %s, takes over the game from the copy loaded "
                "from %s, which was unloaded",
                HUD_VERSION_TEXT, state().pluginFile.c_str(), previousCopy);
    } catch (...) {
        closeLog();
    }
}

void closeLog() {
    LogState& current = state();
    if (current.file != INVALID_HANDLE_VALUE) CloseHandle(current.file);
    current.file = INVALID_HANDLE_VALUE;
    current.createLater = false;
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
    if (current.file == INVALID_HANDLE_VALUE || current.full) return;
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
