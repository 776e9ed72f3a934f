#pragma once
// The game's texture dictionary files (.txd): one writer, one reader. Portable C++.
//
// The writer stores each texture in one level, as 32-bit B, G, R, A pixels or with an 8-bit
// palette, the two ways the game's own files are made. The reader also takes what other tools
// write: the 16-bit, 24-bit, grey and palette formats, the first level of mipmapped textures, and
// DXT1, DXT3 and DXT5 blocks. Whatever it does not handle, and any file that is short or does not
// add up, it refuses with an error that names the thing and the byte where it was found.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace texdict {

// Rows from the top, four bytes a pixel: R, G, B, A (straight alpha).
struct Texture {
    std::string name;
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgba;
    // How the file held it, as `texdict list` shows it ("8888", "PAL8 888", "DXT1 3 levels").
    std::string format;
    // The 256 colours (R, G, B, A) of the 8-bit palette it was read with; empty for the others.
    // The writer keeps a palette in its order when it holds every colour of the pixels, so that
    // a dictionary unpacked and packed again is the same file.
    std::vector<uint8_t> palette;
};

struct Dictionary {
    std::vector<Texture> textures;
};

constexpr size_t maxNameLength = 31;
constexpr int maxSide = 1024;

// A power of two from 1 to maxSide.
bool sideTheGameTakes(int side);
// ASCII letters in lower case, as the game compares texture names.
std::string lowered(std::string text);

// Why a texture cannot be written as the game expects, or "" when it can: the name (1 to 31
// characters), the sides (powers of two up to 1024) and the pixel count.
std::string problemWith(const Texture& texture);
// Also refuses two names that differ only in case: the game's lookup ignores case.
std::string problemWith(const Dictionary& dictionary);

// How the writer stores the pixels.
enum class PixelFormat {
    automatic, // an 8-bit palette where it loses nothing (256 colours or fewer), else 32-bit
    rgba8888,  // 32-bit pixels
    palette8,  // an 8-bit palette, the colours of a picture with more reduced to 256
};

// The file's bytes. The dictionary must have no problem (above).
std::vector<uint8_t> write(const Dictionary& dictionary,
                           PixelFormat format = PixelFormat::rgba8888);

// False, with error set, when the bytes are not a dictionary the reader can take whole.
bool read(std::span<const uint8_t> file, Dictionary& dictionary, std::string& error);

// The same on files, opened by their wide names on Windows, so that a folder may be named in any
// characters; the error starts with the path.
bool readFile(const std::filesystem::path& path, Dictionary& dictionary, std::string& error);
bool writeFile(const std::filesystem::path& path, const Dictionary& dictionary, std::string& error,
               PixelFormat format = PixelFormat::rgba8888);

// A whole file's bytes, and a file written whole; false when it cannot be.
bool readBytes(const std::filesystem::path& path, std::vector<uint8_t>& bytes);
bool writeBytes(const std::filesystem::path& path, std::span<const uint8_t> bytes);

// Paths and UTF-8 text, the tools' text for paths in messages and arguments.
std::string utf8Path(const std::filesystem::path& path); // never throws
std::filesystem::path pathFromUtf8(std::string_view utf8);

} // namespace texdict
