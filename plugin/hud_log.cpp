#include "plugin/hud_log.h"
#include "plugin/data_paths.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

struct LogState {
    std::string path;
    bool usable = false; // created at load; false when it could not be
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
    std::FILE* file = std::fopen(current.path.c_str(), "ab");
    if (!file) return;
    current.size += static_cast<long>(std::fwrite(text, 1, length, file));
    std::fclose(file);
}

std::string pluginFileName() {
    HMODULE self = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&startLog), &self);
    char name[MAX_PATH] = {};
    if (!self || GetModuleFileNameA(self, name, sizeof name) == 0) return "(unknown)";
    return name;
}

} // namespace

void startLog() {
    try {
        LogState& current = state();
        current = {};
        current.path = std::string(gameDirectory()) + logFile;
        std::FILE* file = std::fopen(current.path.c_str(), "wb");
        if (!file) return;
        std::fclose(file);
        current.usable = true;
        logLine("tarvel_moravik HUD %s, loaded from %s", HUD_VERSION_TEXT,
                pluginFileName().c_str());
    } catch (...) {
        state().usable = false;
    }
}

void logLine(const char* format, ...) {
    LogState& current = state();
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
