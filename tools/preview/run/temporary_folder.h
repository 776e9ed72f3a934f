#pragma once
// Where the preview lays out its game directory.
#include <filesystem>
#include <string>

namespace preview {

// The temporary folder, in its short form when only that can be spelt in the system's code
// page or is short enough: the game hands its files' paths around as 8-bit text of at most
// MAX_PATH characters, so its directory must be reachable so. Empty, with why, when it is not.
std::filesystem::path temporaryFolder(std::string& error);

} // namespace preview
