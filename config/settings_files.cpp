#include "config/settings_files.h"

#include <string>
#include <string_view>
#include <utility>

namespace {

// One of the two files, with what it was when it was last read and applied. Its reader lives
// on, so a parse reuses the reader's storage.
struct WatchedFile {
    const char* name = nullptr; // relative to the game directory; nullptr: to be read again
    FileStamp stamp;
    std::int64_t parsedAt = 0; // the file clock just before the file was read
    IniReader reader;
    SettingsFileReport report;
};
WatchedFile layoutFileRead;
WatchedFile colorFileRead;

FileStamp stampOf(const SettingsFileSystem& system, const char* name) {
    return system.stampOf(system.resolvePath(name));
}

bool sameName(const char* a, const char* b) {
    return a != nullptr && b != nullptr && std::string_view{a} == b;
}

// What was applied still holds: the same file with the same stamp, and read long enough after
// its last write that a further write would have changed the stamp. A stamp that far in the
// future (a clock set wrong, an unpacked archive) changes with any write now, so it holds too.
bool upToDate(const WatchedFile& file, const char* name, const FileStamp& stamp,
              const SettingsFileSystem& system) {
    if (!sameName(file.name, name) || !(stamp == file.stamp) || !stamp.known) return false;
    const std::int64_t age = file.parsedAt - stamp.lastWrite;
    return !stamp.present || age >= system.untrustedSpan || age <= -system.untrustedSpan;
}

// Whether a file of the name with .txt added is there: saved so by an editor that adds its
// ending, which Windows hides from the player.
bool savedAsTxt(const SettingsFileSystem& system, const char* name) {
    const std::string withTxt = std::string(name) + ".txt";
    return system.stampOf(system.resolvePath(withTxt.c_str())).present;
}

// Reads the file and applies it to a copy of the settings in use, which it replaces only when
// all went well. Until then the file counts as unread, so any failure (a file that is there
// but locked or read short, memory running out) keeps the settings in use and the file is read
// again next time. Only a file known to be missing gives the defaults. The stamp is taken
// before the bytes are read: a write in between shows as a change next time.
template <class Settings>
void readAndApply(WatchedFile& file, const char* name, const FileStamp& stamp,
                  const SettingsFileSystem& system, Settings& inUse,
                  void (*apply)(Settings&, const IniReader&, SettingsFileReport*)) {
    file.name = nullptr;
    const std::int64_t startedAt = system.now();
    const bool readWhole = file.reader.load(system.resolvePath(name));
    const bool missing = stamp.known && !stamp.present;
    // A file too large to read stays so until it changes: it is not opened again before then.
    const bool tooLarge = file.reader.form() == TextForm::TooLarge;
    SettingsFileReport* report = system.fileRead ? &file.report : nullptr;
    if (report)
        startReport(*report, name,
                    missing && savedAsTxt(system, name) ? SettingsFileState::MissingBesideTxt
                    : missing                           ? SettingsFileState::Missing
                    : readWhole || tooLarge             ? SettingsFileState::Read
                                                        : SettingsFileState::Busy,
                    file.reader);
    if (!readWhole && !missing && !tooLarge) {
        if (report) system.fileRead(name, stamp, true, *report);
        return;
    }
    if (!tooLarge) {
        Settings next = inUse;
        apply(next, file.reader, report);
        inUse = std::move(next);
    }
    file.name = name;
    file.stamp = stamp;
    file.parsedAt = startedAt;
    if (report) system.fileRead(name, stamp, false, *report);
}

// Each file is read again only when it may have changed; the layout first, since its
// RADAR_TYPE selects the colour file.
void bringUpToDate(const SettingsFileSystem& system, bool changedOrNot) {
    const FileStamp layoutStamp = stampOf(system, layoutFile);
    if (changedOrNot || !upToDate(layoutFileRead, layoutFile, layoutStamp, system))
        readAndApply(layoutFileRead, layoutFile, layoutStamp, system, hudSettings, readLayoutFile);
    const char* colorFile = colorFileFor(hudSettings.RADAR_TYPE);
    const FileStamp colorStamp = stampOf(system, colorFile);
    if (changedOrNot || !upToDate(colorFileRead, colorFile, colorStamp, system))
        readAndApply(colorFileRead, colorFile, colorStamp, system, hudSettings.colors,
                     readColorFile);
}

} // namespace

void refreshSettings(const SettingsFileSystem& files) {
    bringUpToDate(files, false);
}

void reloadSettings(const SettingsFileSystem& files) {
    bringUpToDate(files, true);
}
