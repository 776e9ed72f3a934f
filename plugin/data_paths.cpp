#include "plugin/data_paths.h"
#include "plugin/error_box.h"

#include <windows.h>

#include <string>

namespace {

// Storage grows to fit: a long game directory is never cut into a different path.
std::string gameDirBuffer;
std::string dataPathBuffer;

std::string moduleFileName(HMODULE module) {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameA(module, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

} // namespace

const char* gameDirectory() {
    static bool found = false;
    if (found) return gameDirBuffer.c_str();
    found = true;
    gameDirBuffer.clear();

    HMODULE game = GetModuleHandleA(nullptr);
    if (!game) showErrorBox(formatError("FILESYSTEM\nFailed to retrieve game dir path"));

    gameDirBuffer = directoryOf(moduleFileName(game));
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
