#include "tools/preview/run/temporary_folder.h"

#include "tools/preview/run/console.h"

#include "config/utf8_files.h"
#include "windows/windows_paths.h"

namespace preview {

namespace {

bool spelledInCodePage(const std::wstring& path) {
    return inCodePage(path).has_value();
}

// A path from a call that returns the length it needs when the buffer is too small; empty when
// the call fails.
template <typename Call> std::wstring grownPath(Call call) {
    std::wstring path(MAX_PATH + 1, L'\0');
    DWORD length = call(path.data(), static_cast<DWORD>(path.size()));
    if (length >= path.size()) {
        path.resize(length + 1);
        length = call(path.data(), static_cast<DWORD>(path.size()));
    }
    path.resize(length < path.size() ? length : 0);
    return path;
}

// The longest path under the temporary folder that the game is handed: its game directory
// (tarvel_preview_4294967295\tarvel_moravik\) and a file name of the data folder.
constexpr size_t gameDirectoryRoom = 26 + 15 + 64;

} // namespace

std::filesystem::path temporaryFolder(std::string& error) {
    std::wstring path =
        grownPath([](wchar_t* buffer, DWORD size) { return GetTempPathW(size, buffer); });
    // The system gives none when the folder's path is longer than it takes: found as it would be.
    for (const wchar_t* variable : {L"TMP", L"TEMP"})
        if (path.empty())
            path = grownPath([&](wchar_t* buffer, DWORD size) {
                return GetEnvironmentVariableW(variable, buffer, size);
            });
    if (path.empty()) {
        error = "the system names no temp folder (set TEMP to a folder)";
        return {};
    }
    const auto fits = [](const std::wstring& folder) {
        return folder.size() + gameDirectoryRoom < MAX_PATH && spelledInCodePage(folder);
    };
    if (fits(path)) return path;
    const std::wstring brief = shortPath(path);
    if (!brief.empty() && fits(brief)) return brief;
    if (spelledInCodePage(path) || spelledInCodePage(brief)) {
        error = "the temp folder " + shown(utf8FromWide(path)) + " has a path of " +
                std::to_string(path.size()) + " characters, too long for the game's file calls (" +
                std::to_string(MAX_PATH - gameDirectoryRoom) +
                " at most): set TEMP to a folder of a shorter path";
        return {};
    }
    return path;
}

} // namespace preview
