#include "tools/preview/run/game_files.h"

#include "tools/preview/files/read_while_replaced.h"
#include "tools/preview/files/whole_files.h"
#include "tools/preview/page/watch.h"

#include <windows.h>

namespace fs = std::filesystem;

namespace preview {

void writable(const fs::path& file) {
    const DWORD attributes = GetFileAttributesW(file.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        SetFileAttributesW(file.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
}

void copyWritable(const fs::path& from, const fs::path& to, std::error_code& failure) {
    fs::copy_file(from, to, failure);
    if (!failure) writable(to);
}

void copyLettingItBeReplaced(const fs::path& from, const fs::path& to, std::error_code& failure) {
    std::string bytes, unwritten;
    failure.clear();
    if (!readWhileReplaced(utf8Of(from), bytes) ||
        !writeWholeFile(
            utf8Of(to), [&](std::ostream& file) { return bool(file << bytes); }, unwritten))
        failure = std::make_error_code(std::errc::io_error);
}

void linkOrCopy(const fs::path& from, const fs::path& to, std::error_code& failure) {
    const DWORD attributes = GetFileAttributesW(from.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_READONLY)) {
        fs::create_hard_link(from, to, failure);
        if (!failure) return;
    }
    copyWritable(from, to, failure);
}

namespace {

// Whether another program holds the file open and lets no one read it.
bool heldByAnother(const fs::path& file) {
    const HANDLE handle = CreateFileW(file.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle != INVALID_HANDLE_VALUE) {
        CloseHandle(handle);
        return false;
    }
    const DWORD error = GetLastError();
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}

} // namespace

bool heldThroughTheWait(const fs::path& file) {
    const ULONGLONG start = GetTickCount64();
    while (heldByAnother(file)) {
        if (GetTickCount64() - start >= unreadableMilliseconds) return true;
        Sleep(50);
    }
    return false;
}

void removePatiently(const fs::path& path) {
    std::error_code failure;
    for (int attempt = 0; attempt < 100; ++attempt) {
        fs::remove_all(path, failure);
        if (!fs::exists(path, failure)) return;
        Sleep(50);
    }
}

} // namespace preview
