#pragma once
// preview --watch: the files a render reads from a data folder, and the loop that renders again
// whenever one of them is saved. Windows only: it runs in the preview program.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <string>

namespace preview {

// How long a settings file may stay unreadable (missing, empty or held by another program)
// before a render shows what the game makes of it.
constexpr unsigned long long unreadableMilliseconds = 3000;

// One watched file by size and last write time.
struct FileStamp {
    uintmax_t size = 0;
    int64_t written = 0;
    bool operator==(const FileStamp&) const = default;
};
FileStamp stampOf(const std::filesystem::path& file);
// The INI files and texture dictionaries (and texture images) under a folder, by UTF-8 path.
using FolderStamp = std::map<std::string, FileStamp>;
FolderStamp stampFolder(const std::string& folder);

// Renders once, then again after every save under folder, until Ctrl+C (or the console
// closes). A save is rendered once its files have stayed unchanged for a moment; while a
// settings file that could be read before is missing, empty or locked, it waits for the file
// (a few seconds at most, then the render shows what the plug-in makes of it).
void watchFolder(const std::string& folder, const std::function<void()>& render);

// From any thread: a save known to be whole (the layout editor's, written beside and swapped
// in) is rendered at once by the watch, without waiting for the folder to settle.
void renderSoon();

} // namespace preview
