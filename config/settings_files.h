#pragma once
// hudSettings kept up to date with the layout file and the colour file it selects, without
// parsing them on every frame: they are parsed again only when the file system reports a change,
// or while a file's last write is too recent for its stamp to show a further one.
#include "config/hud_settings.h"
#include "config/settings_findings.h"

#include <cstdint>

// What the file system tells of a file without opening it.
struct FileStamp {
    bool known = true; // false: the file system could not tell, so the file is parsed every time
    bool present = false;
    std::uint32_t attributes = 0;
    std::uint64_t size = 0;
    std::int64_t created = 0;
    std::int64_t lastWrite = 0; // on the file clock

    bool operator==(const FileStamp&) const = default;
};

// What the settings need from the platform.
struct SettingsFileSystem {
    PathResolver resolvePath;
    FileStamp (*stampOf)(const char* path);
    std::int64_t (*now)(); // the file clock
    // A file written less than this long before it was parsed is parsed again: a second write
    // within the same tick of the coarsest file-system clock leaves its stamp as it was.
    std::int64_t untrustedSpan;
    // Told of each file just parsed (name relative to the game directory), with its stamp,
    // whether it was there but could not be read, and the findings of that same reading; may be
    // null, and then no findings are gathered.
    void (*fileRead)(const char* name, const FileStamp& stamp, bool unread,
                     const SettingsFileReport& report) = nullptr;
};

// Parses again each file that changed since its last parse, could not be read, or cannot be
// trusted yet; the settings of a file that did not change stay as they are.
void refreshSettings(const SettingsFileSystem& files);
// Parses both files again, changed or not.
void reloadSettings(const SettingsFileSystem& files);
