#include "tools/preview/png_file.h"

#include "config/utf8_files.h"

#include "stb_image.h"
#include "stb_image_write.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <memory>
#include <sstream>

namespace preview {

namespace fs = std::filesystem;

fs::path pathOf(const std::string& utf8) {
    return fs::path(wideFromUtf8(utf8));
}

std::string utf8Of(const fs::path& path) {
    return utf8FromWide(path.wstring());
}

namespace {
struct CloseFile {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, CloseFile>;
} // namespace

bool readWholeFile(const std::string& path, std::string& bytes, size_t limit) {
    bytes.clear();
    const File file(openUtf8File(path.c_str(), "rb"));
    if (!file) return false;
    char block[1 << 16];
    for (size_t got; bytes.size() < limit &&
                     (got = std::fread(block, 1, std::min(sizeof block, limit - bytes.size()),
                                       file.get())) > 0;)
        bytes.append(block, got);
    return !std::ferror(file.get());
}

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

bool writeWholeFile(const std::string& path, const std::function<bool(std::ostream& file)>& write,
                    std::string& error) {
    error = "cannot write " + path;
    std::ostringstream content;
    if (!write(content) || !content.good()) return false;
    const std::string bytes = content.str();
    const std::string temporary = path + ".part";
    bool written = false;
    if (const File file(openUtf8File(temporary.c_str(), "wb")); file)
        written = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size() &&
                  std::fflush(file.get()) == 0;
    std::error_code failure;
    if (written) fs::rename(pathOf(temporary), pathOf(path), failure);
    if (!written || failure) {
        fs::remove(pathOf(temporary), failure);
        return false;
    }
    error.clear();
    return true;
}

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
