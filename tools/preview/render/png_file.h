#pragma once
// PNG files for the preview: textures in, frames out, by UTF-8 paths.
#include "tools/preview/render/renderer.h"

#include <string>

namespace preview {

// False (and an empty image) when the file is missing or not a PNG.
bool readPng(const std::string& path, Image& image);

// How hard a frame is compressed: Small for files kept (--out of a single run), Fast for the
// frames a watched page shows and replaces at every render.
enum class PngCompression { Small, Fast };

// Writes under a temporary name beside the file, then renames it, so that no reader ever sees
// half a frame. On failure error says why and no file of that name is left behind.
bool writePng(const std::string& path, const Image& image, std::string& error,
              PngCompression compression = PngCompression::Small);

} // namespace preview
