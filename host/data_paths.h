#pragma once
// The game directory and full paths of the plug-in's data files. Paths are UTF-8 text, so that
// a folder name in any characters reaches the files; the wide file calls open them.

#include <string>

// The file this copy of the plug-in was loaded from.
std::string pluginFile();
// The game executable's folder, ending with its separator.
const char* gameDirectory();
// The folder part of an executable's path, up to and with its last '\\' or '/'.
std::string directoryOf(const std::string& executablePath);
// Game directory + a name relative to it ("tarvel_moravik\\tarvel_III.ini"). The result lives
// in storage shared by all callers: use it before the next call.
const char* dataPath(const char* relativeName);

// The UTF-16 form of a UTF-8 path, in the caller's storage: once it is large enough, no
// allocation is made.
const wchar_t* widePath(const char* path, std::wstring& storage);
// Whether a file or folder is at the UTF-8 path.
bool pathExists(const char* path);

// How the game's own file calls, which take 8-bit text in the system code page, reach the
// game directory.
enum class LoaderPathForm {
    Full,     // the full path can be written in the code page
    Short,    // the folder's short (8.3) name, all plain ASCII
    Relative, // relative to the current folder, which is the game directory
    None,     // no form the game can open
};
struct LoaderDirectory {
    LoaderPathForm form = LoaderPathForm::None;
    std::string text; // in the code page; empty for Relative and None
};
// What the system offers for a game directory (UTF-16, with its separator): its form in the
// code page (empty when some character has none there), its short name (empty when there is
// none) and the current folder.
struct PathCandidates {
    std::string inCodePage;
    std::wstring shortName;
    std::wstring currentFolder;
};
LoaderDirectory chooseLoaderDirectory(const std::wstring& gameDirectory,
                                      const PathCandidates& candidates);
// Game directory + name as the game's loader must be handed it; the log says once which form
// it is. Storage shared like dataPath's.
const char* loaderPath(const char* relativeName);
