#pragma once
// Files of a game directory as the preview lays it out and clears it away.
#include <filesystem>
#include <system_error>

namespace preview {

// Clears the read-only mark, which would keep the file in the temp folder.
void writable(const std::filesystem::path& file);

// A copy without the read-only mark a file of the data folder (or of the release) may carry.
void copyWritable(const std::filesystem::path& from, const std::filesystem::path& to,
                  std::error_code& failure);

// A file of the data folder, read so that the layout editor can swap in its next save of it
// while it is read, writable.
void copyLettingItBeReplaced(const std::filesystem::path& from, const std::filesystem::path& to,
                             std::error_code& failure);

// The project's own dictionaries are large: linked where the file system allows it, unless
// read-only (a link shares the mark).
void linkOrCopy(const std::filesystem::path& from, const std::filesystem::path& to,
                std::error_code& failure);

// Waits, as --watch does for a settings file, for another program to let go of the file; true
// when it still holds it open and lets no one read it.
bool heldThroughTheWait(const std::filesystem::path& file);

// Under Wine a delete fails while another program opens any link to the same file, as a
// second preview linking the same dictionaries does: tried again for a few seconds.
void removePatiently(const std::filesystem::path& path);

} // namespace preview
