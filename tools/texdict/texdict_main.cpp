// texdict: packs a folder of PNG pictures into one of the game's texture dictionaries, unpacks
// a dictionary into PNG pictures, and lists what a dictionary holds.
//
//   texdict pack [--format auto|8888|pal8] DIR FILE.txd
//                                 every DIR/<name>.png becomes the texture <name>: auto (the
//                                 default) stores a picture of at most 256 colours with an 8-bit
//                                 palette and any other in 32 bits, 8888 all in 32 bits, pal8 all
//                                 with a palette, reduced to 256 colours where there are more
//   texdict unpack FILE.txd DIR   every texture becomes DIR/<name>.png
//   texdict list FILE.txd         name, size and format of each texture
#include "texdict/texdict.h"

#include "stb_image.h"
#include "stb_image_write.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace {

const char* const usage = "usage: texdict pack [--format auto|8888|pal8] DIR FILE.txd\n"
                          "       texdict unpack FILE.txd DIR\n"
                          "       texdict list FILE.txd\n";

int fail(const std::string& message) {
    std::fprintf(stderr, "texdict: %s\n", message.c_str());
    return 1;
}

bool isPng(const fs::path& path) {
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".png";
}

int pack(const fs::path& folder, const std::string& file, texdict::PixelFormat format) {
    std::error_code failure;
    std::vector<fs::path> pictures;
    for (const auto& entry : fs::directory_iterator(folder, failure))
        if (entry.is_regular_file() && isPng(entry.path())) pictures.push_back(entry.path());
    if (failure) return fail("cannot read the folder " + folder.string());
    if (pictures.empty()) return fail(folder.string() + " holds no PNG pictures");
    std::sort(pictures.begin(), pictures.end());

    texdict::Dictionary dictionary;
    for (const auto& picture : pictures) {
        texdict::Texture texture;
        texture.name = picture.stem().string();
        int channels = 0;
        unsigned char* pixels =
            stbi_load(picture.string().c_str(), &texture.width, &texture.height, &channels, 4);
        if (!pixels) return fail(picture.string() + ": not a PNG picture that can be read");
        texture.rgba.assign(pixels, pixels + size_t(texture.width) * size_t(texture.height) * 4);
        stbi_image_free(pixels);
        if (auto problem = texdict::problemWith(texture); !problem.empty())
            return fail(picture.string() + ": " + problem);
        dictionary.textures.push_back(std::move(texture));
    }
    std::string error;
    if (!texdict::writeFile(file, dictionary, error, format)) return fail(error);
    std::printf("%s: %zu textures\n", file.c_str(), dictionary.textures.size());
    return 0;
}

// A texture name that could leave the folder, or name no plain file, is not written.
bool safeFileName(const std::string& name) {
    if (name.empty() || name == "." || name == "..") return false;
    return std::all_of(name.begin(), name.end(), [](unsigned char c) {
        return c >= 0x20 && c < 0x7F && !std::strchr("/\\:*?\"<>|", c);
    });
}

int unpack(const std::string& file, const fs::path& folder) {
    texdict::Dictionary dictionary;
    std::string error;
    if (!texdict::readFile(file, dictionary, error)) return fail(error);
    std::error_code failure;
    fs::create_directories(folder, failure);
    if (!fs::is_directory(folder, failure))
        return fail("cannot make the folder " + folder.string());
    for (const auto& texture : dictionary.textures) {
        if (!safeFileName(texture.name))
            return fail("the texture name '" + texture.name + "' cannot be a file name");
        const std::string picture = (folder / (texture.name + ".png")).string();
        if (!stbi_write_png(picture.c_str(), texture.width, texture.height, 4, texture.rgba.data(),
                            texture.width * 4))
            return fail("cannot write " + picture);
    }
    std::printf("%s: %zu textures\n", folder.string().c_str(), dictionary.textures.size());
    return 0;
}

int list(const std::string& file) {
    texdict::Dictionary dictionary;
    std::string error;
    if (!texdict::readFile(file, dictionary, error)) return fail(error);
    for (const auto& texture : dictionary.textures)
        std::printf("%-31s %5d x %-5d %s\n", texture.name.c_str(), texture.width, texture.height,
                    texture.format.c_str());
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 3 && args[0] == "pack")
        return pack(args[1], args[2], texdict::PixelFormat::automatic);
    if (args.size() == 5 && args[0] == "pack" && args[1] == "--format") {
        const std::pair<const char*, texdict::PixelFormat> formats[] = {
            {"auto", texdict::PixelFormat::automatic},
            {"8888", texdict::PixelFormat::rgba8888},
            {"pal8", texdict::PixelFormat::palette8}};
        for (const auto& [name, format] : formats)
            if (args[2] == name) return pack(args[3], args[4], format);
        return fail("unknown format '" + args[2] + "': auto, 8888 or pal8");
    }
    if (args.size() == 3 && args[0] == "unpack") return unpack(args[1], args[2]);
    if (args.size() == 2 && args[0] == "list") return list(args[1]);
    std::fputs(usage, stderr);
    return 2;
}
