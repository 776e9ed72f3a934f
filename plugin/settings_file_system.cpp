#include "plugin/settings_file_system.h"
#include "plugin/data_paths.h"

#include <windows.h>

namespace {

// File times count 100 ns; FAT's clock, the coarsest, ticks every 2 s.
constexpr std::int64_t untrustedSpan = 3 * 10'000'000;

std::int64_t ticksOf(const FILETIME& time) {
    return static_cast<std::int64_t>((std::uint64_t{time.dwHighDateTime} << 32) |
                                     time.dwLowDateTime);
}

FileStamp stampOf(const char* path) {
    FileStamp stamp;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (GetFileAttributesExA(path, GetFileExInfoStandard, &data) == 0) {
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

} // namespace

const SettingsFileSystem& gameSettingsFiles() {
    static const SettingsFileSystem files{dataPath, stampOf, now, untrustedSpan};
    return files;
}
