#include "tools/preview/run/leftovers.h"

#include "tools/preview/files/whole_files.h"
#include "tools/preview/run/console.h"
#include "tools/preview/run/game_files.h"
#include "tools/preview/run/temporary_folder.h"
#include "tools/preview/run/two_runs.h"

#include "config/utf8_files.h"

#include <algorithm>
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
                         SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, TRUE, 0))
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

namespace {

// A game directory's name as the preview gives them: the prefix and a process id.
bool namedAsAGameDirectory(const std::wstring& name) {
    const size_t prefix = std::size(gameDirectoryPrefix) - 1;
    const std::wstring digits = name.substr(std::min(prefix, name.size()));
    return name.rfind(gameDirectoryPrefix, 0) == 0 && !digits.empty() && digits.size() <= 10 &&
           digits.find_first_not_of(L"0123456789") == std::wstring::npos &&
           std::wcstoull(digits.c_str(), nullptr, 10) <= 0xFFFFFFFFull;
}

// The handle of a process other than this one, as a decimal number; null when it is none.
HANDLE processHandle(const std::string& text) {
    if (text.empty() || text.size() > 10 ||
        text.find_first_not_of("0123456789") != std::string::npos)
        return nullptr;
    const auto handle =
        reinterpret_cast<HANDLE>(static_cast<uintptr_t>(std::strtoull(text.c_str(), nullptr, 10)));
    const DWORD id = GetProcessId(handle);
    return id != 0 && id != GetCurrentProcessId() ? handle : nullptr;
}

} // namespace

int removeAfter(const std::string& folder, const std::string& after) {
    const fs::path gameDirectory = pathOf(folder);
    std::string noTemporary;
    const fs::path temporary = temporaryFolder(noTemporary);
    std::error_code notThere;
    // The temp folder ends in a separator, which makes it no equivalent of any parent path.
    const fs::path temporaryFolderItself = (temporary / L"x").parent_path();
    const DWORD attributes = GetFileAttributesW(gameDirectory.c_str());
    if (!namedAsAGameDirectory(gameDirectory.filename().wstring()) || temporary.empty() ||
        !fs::equivalent(gameDirectory.parent_path(), temporaryFolderItself, notThere) || notThere ||
        attributes == INVALID_FILE_ATTRIBUTES ||
        (attributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) !=
            FILE_ATTRIBUTE_DIRECTORY)
        return fail("--remove takes a game directory of the preview (tarvel_preview_ and a "
                    "number) directly in the temp folder: nothing was deleted");
    const HANDLE process = processHandle(after);
    if (process == nullptr || WaitForSingleObject(process, INFINITE) != WAIT_OBJECT_0)
        return fail("--after takes the handle of the run to wait for, which this run could not "
                    "wait for: nothing was deleted");
    removePatiently(gameDirectory);
    return 0;
}

} // namespace preview
