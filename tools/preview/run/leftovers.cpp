#include "tools/preview/run/leftovers.h"

#include "tools/preview/files/whole_files.h"
#include "tools/preview/run/console.h"
#include "tools/preview/run/game_files.h"
#include "tools/preview/run/two_runs.h"

#include "config/utf8_files.h"

#include <cstdlib>
#include <cwchar>
#include <iterator>

namespace fs = std::filesystem;

namespace preview {

void removeStaleGameDirectories(const fs::path& temporary) {
    std::error_code failure;
    for (fs::directory_iterator it(temporary, failure), end; !failure && it != end;
         it.increment(failure)) {
        const std::wstring name = it->path().filename().wstring();
        std::error_code notAFolder;
        if (name.rfind(gameDirectoryPrefix, 0) != 0 || !it->is_directory(notAFolder)) continue;
        const fs::path lock = it->path() / inUseFile;
        bool stale = false;
        std::error_code noLock;
        if (fs::exists(lock, noLock)) {
            stale = DeleteFileW(lock.c_str()) != 0;
        } else {
            const auto process = static_cast<DWORD>(
                std::wcstoul(name.c_str() + std::size(gameDirectoryPrefix) - 1, nullptr, 10));
            const HANDLE running = OpenProcess(SYNCHRONIZE, FALSE, process);
            stale = !running;
            if (running) CloseHandle(running);
        }
        // Earlier versions copied the read-only mark of a file of the data folder.
        std::error_code unreadable;
        for (fs::recursive_directory_iterator file(it->path(), unreadable), none;
             stale && !unreadable && file != none; file.increment(unreadable))
            writable(file->path());
        std::error_code ignored;
        if (stale) fs::remove_all(it->path(), ignored);
    }
}

void removeOnceEnded(const fs::path& gameDirectory, const fs::path& program) {
    HANDLE self = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), &self,
                         SYNCHRONIZE, TRUE, 0))
        return;
    std::wstring command =
        wideFromUtf8(quoted(utf8Of(program)) + " --remove " + quoted(utf8Of(gameDirectory)) +
                     " --after " + std::to_string(reinterpret_cast<uintptr_t>(self)));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                       program.parent_path().c_str(), &startup, &process)) {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
}

int removeAfter(const std::string& folder, const std::string& after) {
    const fs::path gameDirectory = pathOf(folder);
    if (gameDirectory.filename().wstring().rfind(gameDirectoryPrefix, 0) != 0)
        return fail("--remove takes a game directory of the preview");
    const auto process =
        reinterpret_cast<HANDLE>(static_cast<uintptr_t>(std::strtoull(after.c_str(), nullptr, 10)));
    WaitForSingleObject(process, INFINITE);
    removePatiently(gameDirectory);
    return 0;
}

} // namespace preview
