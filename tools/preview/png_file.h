#pragma once
// PNG files for the preview: textures in, frames out.
#include "tools/preview/renderer.h"

#include <functional>
#include <ostream>
#include <string>

namespace preview {

// False (and an empty image) when the file is missing or not a PNG.
bool readPng(const std::string& path, Image& image);

// Writes under a temporary name beside the file, then renames it, so that no reader ever sees
// half a frame. On failure error says why and no file of that name is left behind.
bool writePng(const std::string& path, const Image& image, std::string& error);

// The same for any file: write fills it and returns false when it could not.
bool writeWholeFile(const std::string& path, const std::function<bool(std::ostream& file)>& write,
                    std::string& error);

} // namespace preview
