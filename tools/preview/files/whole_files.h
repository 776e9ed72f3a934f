#pragma once
// Whole files for the preview, named by UTF-8 paths and opened through the wide file calls, so
// that any folder name works. Portable C++: the lowest room of the preview.
#include <cstddef>
#include <filesystem>
#include <functional>
#include <ostream>
#include <string>

namespace preview {

// A UTF-8 path as the path it names, and back.
std::filesystem::path pathOf(const std::string& utf8);
std::string utf8Of(const std::filesystem::path& path);

// The file's bytes, at most limit of them; false when it cannot be read.
bool readWholeFile(const std::string& path, std::string& bytes, size_t limit = size_t(1) << 30);

// Writes under a temporary name beside the file, then renames it, so that no reader ever sees
// half a file: write fills it and returns false when it could not. On failure error says why
// and no file of that name is left behind.
bool writeWholeFile(const std::string& path, const std::function<bool(std::ostream& file)>& write,
                    std::string& error);

} // namespace preview
