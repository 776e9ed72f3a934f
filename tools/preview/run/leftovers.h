#pragma once
// Game directories left behind: by runs that were killed, and by the run inside, which cannot
// delete the program it is.
#include <filesystem>
#include <string>

namespace preview {

// Game directories that earlier runs left behind when they were killed: their in_use file is
// no longer held open (or, from runs that made none, their process is gone).
void removeStaleGameDirectories(const std::filesystem::path& temporary);

// Starts the preview of the folder this game directory was laid out from, to remove the game
// directory once this run inside it has ended: a running program cannot delete itself.
void removeOnceEnded(const std::filesystem::path& gameDirectory,
                     const std::filesystem::path& program);

// The run started by removeOnceEnded (--remove FOLDER --after HANDLE): 0 once it is removed.
int removeAfter(const std::string& folder, const std::string& after);

} // namespace preview
