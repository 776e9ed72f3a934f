#include "tools/preview/page/watch.h"

#include "config/utf8_files.h"
#include "tools/preview/files/whole_files.h"

#include <windows.h>

#include <atomic>
#include <cstdio>
#include <filesystem>

namespace fs = std::filesystem;

namespace preview {

namespace {

constexpr DWORD pollMilliseconds = 100;
constexpr DWORD settleStepMilliseconds = 40;
// A save counts as finished when nothing changed for this long.
constexpr ULONGLONG quietMilliseconds = 150;

std::atomic<bool> stopRequested{false};
// Set by renderSoon; waited on between polls.
const HANDLE wholeSave = CreateEventA(nullptr, FALSE, FALSE, nullptr);

BOOL WINAPI onConsoleEvent(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT)
        return FALSE;
    stopRequested = true;
    // A closed console ends the process as soon as this returns: wait here while the main thread
    // clears the game directory away and ends it (the system allows about five seconds).
    if (event == CTRL_CLOSE_EVENT) Sleep(4500);
    return TRUE;
}

std::wstring extensionOf(const fs::path& path) {
    auto extension = path.extension().wstring();
    for (auto& c : extension)
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    return extension;
}

bool watched(const fs::path& path) {
    const std::wstring extension = extensionOf(path);
    return extension == L".ini" || extension == L".txd" || extension == L".png";
}

// Settings files the last render could read must be readable again: the plug-in would draw
// its defaults for a missing, empty or locked one.
bool settingsReadable(const FolderStamp& now, const FolderStamp& before) {
    for (const auto& [path, stamp] : before) {
        if (extensionOf(pathOf(path)) != L".ini" || stamp.size == 0) continue;
        const auto found = now.find(path);
        if (found == now.end() || found->second.size == 0) return false;
        std::FILE* file = openUtf8File(path.c_str(), "rb");
        if (!file) return false;
        std::fclose(file);
    }
    return true;
}

// The folder once a save into it has finished, or when Ctrl+C comes first.
FolderStamp settled(const std::string& folder, FolderStamp seen, const FolderStamp& before) {
    const ULONGLONG start = GetTickCount64();
    ULONGLONG quietSince = start;
    while (!stopRequested) {
        Sleep(settleStepMilliseconds);
        FolderStamp again = stampFolder(folder);
        const ULONGLONG now = GetTickCount64();
        if (again != seen) {
            seen = std::move(again);
            quietSince = now;
        } else if (now - quietSince >= quietMilliseconds &&
                   (settingsReadable(seen, before) || now - start >= unreadableMilliseconds)) {
            break;
        }
    }
    return seen;
}

} // namespace

FileStamp stampOf(const fs::path& file) {
    // The system's own stamp: this runtime's std::filesystem keeps whole seconds of the last
    // write, so a save of the same size within the second of the one shown would be missed.
    FileStamp stamp;
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &data)) {
        stamp.size = uintmax_t(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
        stamp.written =
            int64_t(data.ftLastWriteTime.dwHighDateTime) << 32 | data.ftLastWriteTime.dwLowDateTime;
    }
    return stamp;
}

FolderStamp stampFolder(const std::string& folder) {
    FolderStamp stamps;
    std::error_code failure;
    for (fs::recursive_directory_iterator it(pathOf(folder), failure), end; !failure && it != end;
         it.increment(failure)) {
        if (!it->is_regular_file(failure) || !watched(it->path())) continue;
        stamps[utf8Of(it->path())] = stampOf(it->path());
        failure.clear();
    }
    return stamps;
}

void watchFolder(const std::string& folder, const std::function<void()>& render) {
    stopRequested = false;
    SetConsoleCtrlHandler(onConsoleEvent, TRUE);
    FolderStamp shown = stampFolder(folder);
    render();
    while (!stopRequested) {
        const bool whole = WaitForSingleObject(wholeSave, pollMilliseconds) == WAIT_OBJECT_0;
        FolderStamp now = stampFolder(folder);
        if (!whole && now == shown) continue;
        if (!whole) now = settled(folder, std::move(now), shown);
        if (stopRequested) break;
        shown = std::move(now);
        render();
    }
    SetConsoleCtrlHandler(onConsoleEvent, FALSE);
}

void renderSoon() {
    SetEvent(wholeSave);
}

} // namespace preview
