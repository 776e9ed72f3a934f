#pragma once
// Files for the preview: textures in, frames and pages out. Paths are UTF-8 and are opened
// through the wide file calls, so that any folder name works.
#include "tools/preview/renderer.h"

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

// False (and an empty image) when the file is missing or not a PNG.
bool readPng(const std::string& path, Image& image);

// Writes under a temporary name beside the file, then renames it, so that no reader ever sees
// half a frame. On failure error says why and no file of that name is left behind.
bool writePng(const std::string& path, const Image& image, std::string& error);

// The same for any file: write fills it and returns false when it could not.
bool writeWholeFile(const std::string& path, const std::function<bool(std::ostream& file)>& write,
                    std::string& error);

} // namespace preview
