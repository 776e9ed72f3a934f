#include "tools/preview/files/whole_files.h"

#include "config/utf8_files.h"

#include <algorithm>
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

} // namespace preview
