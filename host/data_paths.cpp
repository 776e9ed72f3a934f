#include "host/data_paths.h"
#include "config/utf8_files.h"
#include "host/error_box.h"
#include "host/hud_log.h"
#include "windows/windows_paths.h"

#include <windows.h>

#include <algorithm>
#include <string>

namespace {

// Storage grows to fit: a long game directory is never cut into a different path.
std::string gameDirBuffer;
std::string dataPathBuffer;
std::string loaderPathBuffer;

std::wstring currentFolder() {
    const DWORD size = GetCurrentDirectoryW(0, nullptr);
    if (size == 0) return {};
    std::wstring folder(size, L'\0');
    const DWORD length = GetCurrentDirectoryW(size, folder.data());
    if (length == 0 || length >= size) return {};
    folder.resize(length);
    return folder;
}

bool plainAscii(const std::wstring& text) {
    return std::all_of(text.begin(), text.end(), [](wchar_t c) { return c > 0 && c < 0x80; });
}

bool isSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

// Two folder names alike but for case, the kind of separator and a separator at the end.
bool sameFolder(std::wstring a, std::wstring b) {
    for (std::wstring* text : {&a, &b}) {
        while (!text->empty() && isSeparator(text->back()))
            text->pop_back();
        std::replace(text->begin(), text->end(), L'/', L'\\');
    }
    return !a.empty() && CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                              static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

std::string withSeparator(std::string text) {
    if (!text.empty() && text.back() != '\\' && text.back() != '/') text += '\\';
    return text;
}

void logLoaderDirectory(const LoaderDirectory& directory) {
    switch (directory.form) {
    case LoaderPathForm::Full:
        logLine("texture dictionaries handed to the game by their full path");
        break;
    case LoaderPathForm::Short:
        logLine("the game folder's name has letters this system's code page lacks: texture "
                "dictionaries handed to the game by the folder's short name %s",
                directory.text.c_str());
        break;
    case LoaderPathForm::Relative:
        logLine("the game folder's name has letters this system's code page lacks and no short "
                "name: texture dictionaries handed to the game relative to the current folder");
        break;
    case LoaderPathForm::None:
        logLine("the game folder's name has letters this system's code page lacks, and the game "
                "cannot open files there: the HUD draws no pictures. Move the game to a folder "
                "named with plain letters (A-Z, 0-9) only");
        break;
    }
}

const LoaderDirectory& loaderDirectory() {
    static const LoaderDirectory directory = [] {
        const std::wstring game = wideFromUtf8(gameDirectory());
        LoaderDirectory chosen = chooseLoaderDirectory(
            game, {inCodePage(game).value_or(""), shortPath(game), currentFolder()});
        logLoaderDirectory(chosen);
        return chosen;
    }();
    return directory;
}

} // namespace

std::string pluginFile() {
    HMODULE self = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&pluginFile), &self);
    return self ? utf8FromWide(modulePath(self)) : std::string{};
}

const char* gameDirectory() {
    static bool found = false;
    if (found) return gameDirBuffer.c_str();
    found = true;
    gameDirBuffer.clear();

    HMODULE game = GetModuleHandleW(nullptr);
    if (!game) showErrorBox(formatError("FILESYSTEM\nFailed to retrieve game dir path"));

    gameDirBuffer = directoryOf(utf8FromWide(modulePath(game)));
    return gameDirBuffer.c_str();
}

std::string directoryOf(const std::string& executablePath) {
    const auto separator = executablePath.find_last_of("\\/");
    if (separator == std::string::npos) return executablePath;
    return executablePath.substr(0, separator + 1);
}

const char* dataPath(const char* relativeName) {
    dataPathBuffer.assign(gameDirectory());
    dataPathBuffer.append(relativeName);
    return dataPathBuffer.c_str();
}

const wchar_t* widePath(const char* path, std::wstring& storage) {
    const int size = MultiByteToWideChar(CP_UTF8, 0, path, -1, nullptr, 0);
    if (size <= 0) return L"";
    storage.resize(static_cast<size_t>(size));
    MultiByteToWideChar(CP_UTF8, 0, path, -1, storage.data(), size);
    return storage.c_str();
}

bool pathExists(const char* path) {
    std::wstring wide;
    return GetFileAttributesW(widePath(path, wide)) != INVALID_FILE_ATTRIBUTES;
}

LoaderDirectory chooseLoaderDirectory(const std::wstring& gameDirectory,
                                      const PathCandidates& candidates) {
    if (!candidates.inCodePage.empty()) return {LoaderPathForm::Full, candidates.inCodePage};
    if (!candidates.shortName.empty() && plainAscii(candidates.shortName))
        return {LoaderPathForm::Short, withSeparator(utf8FromWide(candidates.shortName))};
    if (sameFolder(candidates.currentFolder, gameDirectory)) return {LoaderPathForm::Relative, {}};
    return {LoaderPathForm::None, {}};
}

const char* loaderPath(const char* relativeName) {
    const LoaderDirectory& directory = loaderDirectory();
    if (directory.form == LoaderPathForm::None) {
        // The game gets what its own 8-bit calls would give: it finds nothing there.
        loaderPathBuffer.assign(dataPath(relativeName));
        for (char& c : loaderPathBuffer)
            if (static_cast<unsigned char>(c) >= 0x80) c = '?';
        return loaderPathBuffer.c_str();
    }
    loaderPathBuffer.assign(directory.text);
    loaderPathBuffer.append(relativeName);
    return loaderPathBuffer.c_str();
}
