#include "config/settings_files.h"

#include <string_view>

namespace {

// One of the two files, with what it was when it was parsed last. Its reader lives on, so a
// parse reuses the reader's storage.
struct WatchedFile {
    const char* name = nullptr; // relative to the game directory; nullptr: never parsed
    FileStamp stamp;
    std::int64_t parsedAt = 0; // the file clock just before the file was read
    bool unread = false;       // there, but its bytes could not be read
    IniReader reader;
};
WatchedFile layoutFileRead;
WatchedFile colorFileRead;

FileStamp stampOf(const SettingsFileSystem& system, const char* name) {
    return system.stampOf(system.resolvePath(name));
}

bool sameName(const char* a, const char* b) {
    return a != nullptr && b != nullptr && std::string_view{a} == b;
}

// What was parsed still holds: the same file with the same stamp, read whole, and read long
// enough after its last write that a further write would have changed the stamp.
bool upToDate(const WatchedFile& file, const char* name, const FileStamp& stamp,
              const SettingsFileSystem& system) {
    if (!sameName(file.name, name) || !(stamp == file.stamp) || file.unread || !stamp.known)
        return false;
    return !stamp.present || file.parsedAt - stamp.lastWrite >= system.untrustedSpan;
}

// The stamp is taken before the bytes are read: a write in between shows as a change next time.
void read(WatchedFile& file, const char* name, const FileStamp& stamp,
          const SettingsFileSystem& system) {
    file.name = name;
    file.stamp = stamp;
    file.parsedAt = system.now();
    file.unread = !file.reader.load(system.resolvePath(name)) && stamp.present;
}

void tell(const WatchedFile& file, const SettingsFileSystem& system) {
    if (system.fileRead) system.fileRead(file.name, file.stamp, file.unread);
}

// Each file is parsed again only when it may have changed; the layout first, since its
// RADAR_TYPE selects the colour file.
void bringUpToDate(const SettingsFileSystem& system, bool changedOrNot) {
    const FileStamp layoutStamp = stampOf(system, layoutFile);
    if (changedOrNot || !upToDate(layoutFileRead, layoutFile, layoutStamp, system)) {
        read(layoutFileRead, layoutFile, layoutStamp, system);
        readLayout(hudSettings, layoutFileRead.reader);
        tell(layoutFileRead, system);
    }
    const char* colorFile = colorFileFor(hudSettings.RADAR_TYPE);
    const FileStamp colorStamp = stampOf(system, colorFile);
    if (changedOrNot || !upToDate(colorFileRead, colorFile, colorStamp, system)) {
        read(colorFileRead, colorFile, colorStamp, system);
        readColors(hudSettings.colors, colorFileRead.reader);
        tell(colorFileRead, system);
    }
}

} // namespace

void refreshSettings(const SettingsFileSystem& files) {
    bringUpToDate(files, false);
}

void reloadSettings(const SettingsFileSystem& files) {
    bringUpToDate(files, true);
}
