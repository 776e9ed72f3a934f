#include "tools/preview/render/png_file.h"

#include "tools/preview/files/whole_files.h"

#include "stb_image.h"
#include "stb_image_write.h"

#include <algorithm>
#include <climits>
#include <ostream>

namespace preview {

bool readPng(const std::string& path, Image& image) {
    image = Image();
    std::string bytes;
    if (!readWholeFile(path, bytes) || bytes.size() > size_t(INT_MAX)) return false;
    int w = 0, h = 0, channels = 0;
    unsigned char* data =
        stbi_load_from_memory(reinterpret_cast<const unsigned char*>(bytes.data()),
                              static_cast<int>(bytes.size()), &w, &h, &channels, 4);
    if (!data) return false;
    image = Image(w, h);
    std::copy(data, data + size_t(w) * size_t(h) * 4, image.pixels.begin());
    stbi_image_free(data);
    return true;
}

namespace {
void appendBytes(void* context, void* data, int size) {
    static_cast<std::ostream*>(context)->write(static_cast<const char*>(data), size);
}
} // namespace

bool writePng(const std::string& path, const Image& image, std::string& error) {
    // Frames are mostly rows of one colour: unfiltered rows at a middle level compress about as
    // small as the best filter per row, three times sooner, which a watched layout feels.
    stbi_write_force_png_filter = 0;
    stbi_write_png_compression_level = 5;
    return writeWholeFile(
        path,
        [&](std::ostream& file) {
            return !image.empty() &&
                   stbi_write_png_to_func(appendBytes, &file, image.width, image.height, 4,
                                          image.pixels.data(), image.width * 4) != 0;
        },
        error);
}

} // namespace preview
