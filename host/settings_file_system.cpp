#include "host/settings_file_system.h"
#include "config/settings_findings.h"
#include "host/data_paths.h"
#include "host/hud_log.h"

#include <string>

#include <windows.h>

namespace {

// File times count 100 ns; FAT's clock, the coarsest, ticks every 2 s.
constexpr std::int64_t untrustedSpan = 3 * 10'000'000;

std::int64_t ticksOf(const FILETIME& time) {
    return static_cast<std::int64_t>((std::uint64_t{time.dwHighDateTime} << 32) |
                                     time.dwLowDateTime);
}

FileStamp stampOf(const char* path) {
    // Kept from frame to frame: a steady frame allocates nothing.
    static std::wstring wide;
    FileStamp stamp;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (GetFileAttributesExW(widePath(path, wide), GetFileExInfoStandard, &data) == 0) {
        const DWORD error = GetLastError();
        stamp.known = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
        return stamp;
    }
    stamp.present = true;
    stamp.attributes = data.dwFileAttributes;
    stamp.size = (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
    stamp.created = ticksOf(data.ftCreationTime);
    stamp.lastWrite = ticksOf(data.ftLastWriteTime);
    return stamp;
}

std::int64_t now() {
    FILETIME time;
    GetSystemTimeAsFileTime(&time);
    return ticksOf(time);
}

// The stamp of each file when the log last named its findings.
struct LoggedFile {
    std::string name;
    FileStamp stamp;
    bool unread = false;
};
LoggedFile loggedLayout, loggedColors;

// Logs the findings of a file's reading: how its text was written when that is not plain
// ASCII, and what the HUD cannot use as written. A file parsed again with the stamp it had (the
// reload key held, a write too recent to trust) is not logged again.
void logFindings(const char* name, const FileStamp& stamp, bool unread,
                 const SettingsFileReport& report) {
    try {
        LoggedFile& logged = std::string_view{name} == layoutFile ? loggedLayout : loggedColors;
        if (logged.name == name && logged.stamp == stamp && logged.unread == unread) return;
        logged = {name, stamp, unread};
        const char* form = unread ? nullptr : textFormName(report.form);
        if (form)
            logLine("settings file %s read, written in %s", name, form);
        else
            logLine("settings file %s read", name);
        for (const SettingsFinding& finding : report.findings) {
            if (finding.line == 0)
                logLine("  %s", finding.message.c_str());
            else
                logLine("  %s line %d: %.200s -> %s", finding.file.c_str(), finding.line,
                        finding.text.c_str(), finding.message.c_str());
        }
    } catch (...) {
        // The log is for the player; the settings in use stay as they are.
    }
}

} // namespace

const SettingsFileSystem& gameSettingsFiles() {
    static const SettingsFileSystem files{dataPath, stampOf, now, untrustedSpan, logFindings};
    return files;
}
