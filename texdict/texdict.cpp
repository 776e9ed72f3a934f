#include "texdict/texdict.h"

#include "texdict/palette.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <exception>
#include <fstream>
#include <iterator>
#include <new>
#include <unordered_map>

namespace texdict {
namespace {

constexpr uint32_t dataChunk = 0x01;
constexpr uint32_t extensionChunk = 0x03;
constexpr uint32_t textureChunk = 0x15;
constexpr uint32_t dictionaryChunk = 0x16;

constexpr uint32_t writerStamp = 0x0C02FFFF; // engine 3.3.0.2, build 0xFFFF
constexpr uint32_t newestEngine = 0x33002;   // 3.3.0.2, as the stamp's version number
constexpr uint32_t direct3d8 = 8;
constexpr uint32_t linearClamped = 0x3302;

constexpr size_t chunkHeaderSize = 12;
constexpr size_t textureHeaderSize = 88;

// The reader takes sides up to this, larger than the game's own: with it, a level's byte count
// and the pixels decoded from it stay far below 4 GB, so that no size wraps in a 32-bit tool.
constexpr int maxReadSide = 8192;
// No dictionary file the game could hold in its memory is larger.
constexpr uint64_t maxFileBytes = uint64_t(1) << 30;

// Bits of the raster format word.
constexpr uint32_t formatMask = 0x0F00;
constexpr uint32_t palette8Flag = 0x2000;
constexpr uint32_t palette4Flag = 0x4000;
constexpr uint32_t mipmapFlag = 0x8000;
constexpr uint32_t format8888 = 0x0500;

// Reduced palettes are dithered: gradients then keep their steps finer than one entry.
constexpr bool ditherReducedPalettes = true;

struct Rgba {
    uint8_t r, g, b, a;
};

uint8_t from5(unsigned v) {
    return static_cast<uint8_t>((v << 3) | (v >> 2));
}
uint8_t from6(unsigned v) {
    return static_cast<uint8_t>((v << 2) | (v >> 4));
}
uint8_t from4(unsigned v) {
    return static_cast<uint8_t>(v * 17);
}

uint16_t u16At(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}
uint32_t u32At(const uint8_t* p) {
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}

Rgba from565(unsigned c) {
    return {from5(c >> 11 & 31), from6(c >> 5 & 63), from5(c & 31), 255};
}

// Every raster format the reader knows, and how one pixel of it becomes R, G, B, A. Palette
// colours are stored R, G, B, A in 8888 and 888 palettes.
struct RasterFormat {
    uint32_t code;
    const char* name;
    int depth; // bits a pixel as the file states it
    Rgba (*pixel)(const uint8_t*);
    Rgba (*paletteColour)(const uint8_t*); // null: no palette of this format
};

const RasterFormat rasterFormats[] = {
    {0x0100, "1555", 16,
     [](const uint8_t* p) {
         const unsigned c = u16At(p);
         return Rgba{from5(c >> 10 & 31), from5(c >> 5 & 31), from5(c & 31),
                     uint8_t(c & 0x8000 ? 255 : 0)};
     },
     nullptr},
    {0x0200, "565", 16, [](const uint8_t* p) { return from565(u16At(p)); }, nullptr},
    {0x0300, "4444", 16,
     [](const uint8_t* p) {
         const unsigned c = u16At(p);
         return Rgba{from4(c >> 8 & 15), from4(c >> 4 & 15), from4(c & 15), from4(c >> 12)};
     },
     nullptr},
    {0x0400, "LUM8", 8,
     [](const uint8_t* p) {
         return Rgba{p[0], p[0], p[0], 255};
     },
     nullptr},
    {format8888, "8888", 32,
     [](const uint8_t* p) {
         return Rgba{p[2], p[1], p[0], p[3]};
     },
     [](const uint8_t* p) {
         return Rgba{p[0], p[1], p[2], p[3]};
     }},
    {0x0600, "888", 32,
     [](const uint8_t* p) {
         return Rgba{p[2], p[1], p[0], 255};
     },
     [](const uint8_t* p) {
         return Rgba{p[0], p[1], p[2], 255};
     }},
    {0x0A00, "555", 16,
     [](const uint8_t* p) {
         const unsigned c = u16At(p);
         return Rgba{from5(c >> 10 & 31), from5(c >> 5 & 31), from5(c & 31), 255};
     },
     nullptr},
};

const RasterFormat* findFormat(uint32_t code) {
    for (const auto& format : rasterFormats)
        if (format.code == code) return &format;
    return nullptr;
}

// DXT blocks: 4 x 4 pixels each.
void decodeColourBlock(const uint8_t* block, bool threeColourMode, Rgba out[16]) {
    const unsigned c0 = u16At(block), c1 = u16At(block + 2);
    Rgba colours[4] = {from565(c0), from565(c1), {}, {}};
    auto mix = [&](int w0, int w1, int sum) {
        auto channel = [&](uint8_t Rgba::*c) {
            return static_cast<uint8_t>((colours[0].*c * w0 + colours[1].*c * w1) / sum);
        };
        return Rgba{channel(&Rgba::r), channel(&Rgba::g), channel(&Rgba::b), 255};
    };
    if (threeColourMode && c0 <= c1) {
        colours[2] = mix(1, 1, 2);
        colours[3] = Rgba{0, 0, 0, 0};
    } else {
        colours[2] = mix(2, 1, 3);
        colours[3] = mix(1, 2, 3);
    }
    const uint32_t indices = u32At(block + 4);
    for (int i = 0; i < 16; ++i)
        out[i] = colours[indices >> (2 * i) & 3];
}

void decodeExplicitAlpha(const uint8_t* block, Rgba out[16]) {
    for (int i = 0; i < 16; ++i)
        out[i].a = from4(block[i / 2] >> (4 * (i % 2)) & 15);
}

void decodeInterpolatedAlpha(const uint8_t* block, Rgba out[16]) {
    const int a0 = block[0], a1 = block[1];
    int alphas[8] = {a0, a1};
    if (a0 > a1) {
        for (int i = 1; i < 7; ++i)
            alphas[i + 1] = ((7 - i) * a0 + i * a1) / 7;
    } else {
        for (int i = 1; i < 5; ++i)
            alphas[i + 1] = ((5 - i) * a0 + i * a1) / 5;
        alphas[6] = 0;
        alphas[7] = 255;
    }
    uint64_t indices = 0;
    for (int i = 0; i < 6; ++i)
        indices |= static_cast<uint64_t>(block[2 + i]) << (8 * i);
    for (int i = 0; i < 16; ++i)
        out[i].a = static_cast<uint8_t>(alphas[indices >> (3 * i) & 7]);
}

// The block compressions by their number in the texture header, DXT1 to DXT5.
struct Compression {
    int number;
    int blockBytes; // 0: not handled (DXT2 and DXT4 hold premultiplied alpha)
};
const Compression compressions[] = {{1, 8}, {2, 0}, {3, 16}, {4, 0}, {5, 16}};

void decodeBlocks(const Compression& compression, const uint8_t* data, Texture& texture) {
    const int number = compression.number, blockBytes = compression.blockBytes;
    const int columns = std::max(1, (texture.width + 3) / 4);
    const int rows = std::max(1, (texture.height + 3) / 4);
    for (int by = 0; by < rows; ++by) {
        for (int bx = 0; bx < columns; ++bx) {
            const uint8_t* block = data + (size_t(by) * columns + bx) * blockBytes;
            Rgba pixels[16];
            if (number == 1) {
                decodeColourBlock(block, true, pixels);
            } else {
                decodeColourBlock(block + 8, false, pixels);
                if (number == 3)
                    decodeExplicitAlpha(block, pixels);
                else
                    decodeInterpolatedAlpha(block, pixels);
            }
            for (int i = 0; i < 16; ++i) {
                const int x = bx * 4 + i % 4, y = by * 4 + i / 4;
                if (x >= texture.width || y >= texture.height) continue;
                uint8_t* out = &texture.rgba[(size_t(y) * texture.width + x) * 4];
                out[0] = pixels[i].r;
                out[1] = pixels[i].g;
                out[2] = pixels[i].b;
                out[3] = pixels[i].a;
            }
        }
    }
}

std::string hex(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", static_cast<unsigned>(value));
    return text;
}

// ---- Writing --------------------------------------------------------------------------------

class ByteWriter {
  public:
    void u8(uint32_t v) { bytes.push_back(static_cast<uint8_t>(v)); }
    void u16(uint32_t v) {
        u8(v);
        u8(v >> 8);
    }
    void u32(uint32_t v) {
        u16(v);
        u16(v >> 16);
    }
    void chunk(uint32_t type, size_t size) {
        u32(type);
        u32(static_cast<uint32_t>(size));
        u32(writerStamp);
    }
    void name(const std::string& text) {
        for (size_t i = 0; i < 32; ++i)
            u8(i < text.size() ? static_cast<uint8_t>(text[i]) : 0);
    }
    std::vector<uint8_t> bytes;
};

uint32_t packedColour(const uint8_t* rgba) {
    return u32At(rgba);
}

// A texture's pixels as the file will hold them: with a palette, or none for 32-bit pixels.
struct Stored {
    bool palette = false;
    PalettePicture picture;
};

// The pixels as indices into the texture's own palette, false when a colour is not in it.
bool keptPalette(const Texture& t, PalettePicture& out) {
    if (t.palette.size() != 256 * 4) return false;
    std::unordered_map<uint32_t, uint8_t> entries;
    for (size_t i = 256; i-- > 0;) // the first of equal entries wins
        entries[packedColour(&t.palette[i * 4])] = static_cast<uint8_t>(i);
    out.colours = t.palette;
    out.indices.resize(t.rgba.size() / 4);
    for (size_t i = 0; i < out.indices.size(); ++i) {
        const auto found = entries.find(packedColour(&t.rgba[i * 4]));
        if (found == entries.end()) return false;
        out.indices[i] = found->second;
    }
    return true;
}

Stored stored(const Texture& t, PixelFormat format) {
    Stored out;
    if (format == PixelFormat::rgba8888) return out;
    out.palette = keptPalette(t, out.picture) || exactPalette(t.rgba, out.picture);
    if (!out.palette && format == PixelFormat::palette8) {
        out.picture = reducedPalette(t.rgba, t.width, ditherReducedPalettes);
        out.palette = true;
    }
    return out;
}

size_t levelSize(const Texture& t, const Stored& s) {
    return size_t(t.width) * size_t(t.height) * (s.palette ? 1 : 4);
}
size_t textureDataSize(const Texture& t, const Stored& s) {
    return textureHeaderSize + (s.palette ? s.picture.colours.size() : 0) + 4 + levelSize(t, s);
}
size_t textureChunkSize(const Texture& t, const Stored& s) {
    return chunkHeaderSize + textureDataSize(t, s) + chunkHeaderSize;
}

// ---- Reading --------------------------------------------------------------------------------

struct Chunk {
    uint32_t type = 0;
    size_t body = 0; // offset of the first byte after the header
    size_t end = 0;  // offset just past the chunk
};

const char* chunkName(uint32_t type) {
    switch (type) {
    case dataChunk:
        return "data";
    case extensionChunk:
        return "extension";
    case textureChunk:
        return "texture";
    case dictionaryChunk:
        return "texture dictionary";
    }
    return "unknown";
}

class Reader {
  public:
    Reader(std::span<const uint8_t> file, std::string& error) : file_(file), error_(error) {}

    bool dictionary(Dictionary& out);

  private:
    bool fail(size_t at, const std::string& what) {
        error_ = "at byte " + std::to_string(at) + ": " + context_ + what;
        return false;
    }
    // The chunk at `at`, of the type expected, lying wholly before `limit`.
    bool chunk(size_t at, size_t limit, uint32_t type, Chunk& out);
    bool texture(const Chunk& data, Texture& out);
    bool pixels(size_t at, size_t end, uint32_t raster, int compression, int levels, Texture& out);
    // A level: its u32 size, which must fit before `end`, then its bytes.
    bool level(size_t& at, size_t end, const char* which, uint32_t& size);

    uint32_t u32(size_t at) const { return u32At(file_.data() + at); }

    std::span<const uint8_t> file_;
    std::string& error_;
    std::string context_; // which texture is being read, for the error
};

bool Reader::chunk(size_t at, size_t limit, uint32_t type, Chunk& out) {
    const std::string what = std::string("the ") + chunkName(type) + " chunk";
    const char* outer = limit == file_.size() ? "the file" : "the chunk around it";
    if (limit - at < chunkHeaderSize)
        return fail(at, what + "'s header does not fit: " + outer + " ends " +
                            std::to_string(limit - at) + " bytes on");
    const uint32_t found = u32(at), size = u32(at + 4), stamp = u32(at + 8);
    if (found != type)
        return fail(at, "expected " + what + " (type " + hex(type) + "), found type " + hex(found));
    // The upper half packs 3.V.J.N as V:4 J:4 N:6 from bit 10; the old form is 0x00000VJN.
    const uint32_t engine =
        stamp >> 16 ? ((stamp >> 14 & 0x3FF00) + 0x30000) | (stamp >> 16 & 0x3F) : stamp << 8;
    if (engine > newestEngine)
        return fail(at, what + " carries version stamp " + hex(stamp) +
                            ", newer than the game's engine 3.3.0.2");
    if (size > limit - at - chunkHeaderSize)
        return fail(at, what + " claims " + std::to_string(size) + " bytes, but " + outer +
                            " ends " + std::to_string(limit - at - chunkHeaderSize) +
                            " bytes after its header");
    out = {type, at + chunkHeaderSize, at + chunkHeaderSize + size};
    return true;
}

bool Reader::dictionary(Dictionary& out) {
    out.textures.clear();
    Chunk top, header;
    // A picture renamed .txd is named as such, with how its pictures become a dictionary.
    constexpr uint8_t pngSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (file_.size() >= sizeof pngSignature &&
        std::equal(std::begin(pngSignature), std::end(pngSignature), file_.begin()))
        return fail(0, "a PNG picture, not a texture dictionary: renaming a picture does not "
                       "make one; texdict packs pictures into a dictionary: put each as "
                       "<name>.png in a folder and run texdict pack FOLDER FILE.txd");
    // A file that does not even start as one is told apart from a damaged dictionary.
    if (file_.size() < chunkHeaderSize || u32(0) != dictionaryChunk)
        context_ = "not a texture dictionary: ";
    if (!chunk(0, file_.size(), dictionaryChunk, top)) return false;
    context_.clear();
    if (!chunk(top.body, top.end, dataChunk, header)) return false;
    if (header.end - header.body < 4)
        return fail(header.body, "the dictionary's data block holds " +
                                     std::to_string(header.end - header.body) +
                                     " bytes, fewer than the 4 of its texture count");
    const unsigned count = u32(header.body) & 0xFFFF;
    size_t at = header.end;
    for (unsigned i = 0; i < count; ++i) {
        context_ = "texture " + std::to_string(i + 1) + " of " + std::to_string(count) + ": ";
        Chunk texture, data, extension;
        Texture t;
        if (!chunk(at, top.end, textureChunk, texture) ||
            !chunk(texture.body, texture.end, dataChunk, data) || !this->texture(data, t) ||
            !chunk(data.end, texture.end, extensionChunk, extension))
            return false;
        out.textures.push_back(std::move(t));
        at = texture.end;
    }
    context_.clear();
    Chunk extension;
    return chunk(at, top.end, extensionChunk, extension);
}

bool Reader::level(size_t& at, size_t end, const char* which, uint32_t& size) {
    if (end - at < 4)
        return fail(at, std::string("the data block ends before the size of ") + which);
    size = u32(at);
    if (size > end - at - 4)
        return fail(at, std::string(which) + " claims " + std::to_string(size) +
                            " bytes, but the data block ends " + std::to_string(end - at - 4) +
                            " bytes on");
    at += 4;
    return true;
}

bool Reader::texture(const Chunk& data, Texture& out) {
    const size_t at = data.body, end = data.end;
    if (end - at < textureHeaderSize)
        return fail(at, "the texture's data block holds " + std::to_string(end - at) +
                            " bytes, fewer than its 88-byte header");
    const uint8_t* header = file_.data() + at;
    const char* name = reinterpret_cast<const char*>(header + 8);
    const size_t nameLength = std::find(name, name + 32, '\0') - name;
    if (nameLength == 32) return fail(at + 8, "a texture name is not ended within its 32 bytes");
    out.name.assign(name, nameLength);
    context_ = "texture '" + out.name + "': ";

    const uint32_t platform = u32(at);
    if (platform != direct3d8)
        return fail(at, "platform " + std::to_string(platform) +
                            " is not handled (only 8, the PC's Direct3D 8 layout)");
    const uint32_t raster = u32(at + 72);
    out.width = u16At(header + 80);
    out.height = u16At(header + 82);
    const int depth = header[84], levels = header[85], compression = header[87];
    if (out.width == 0 || out.height == 0)
        return fail(at + 80, "a side of 0 pixels (" + std::to_string(out.width) + " x " +
                                 std::to_string(out.height) + ")");
    if (out.width > maxReadSide || out.height > maxReadSide)
        return fail(at + 80, std::to_string(out.width) + " x " + std::to_string(out.height) +
                                 " pixels: a side above " + std::to_string(maxReadSide) +
                                 " is not handled");
    if (levels == 0) return fail(at + 85, "a level count of 0");

    const RasterFormat* format = findFormat(raster & formatMask);
    const uint32_t unknownBits = raster & ~(formatMask | palette8Flag | palette4Flag | mipmapFlag);
    if (unknownBits)
        return fail(at + 72, "raster format " + hex(raster) + ": the bits " + hex(unknownBits) +
                                 " are not handled");
    if (!format)
        return fail(at + 72, "raster format " + hex(raster & formatMask) + " is not handled");
    const bool palette = raster & (palette8Flag | palette4Flag);
    if (compression == 0 && !palette && depth != format->depth)
        return fail(at + 84, "depth " + std::to_string(depth) + " does not fit raster format " +
                                 format->name);
    return pixels(at + textureHeaderSize, end, raster, compression, levels, out);
}

bool Reader::pixels(size_t at, size_t end, uint32_t raster, int compression, int levels,
                    Texture& out) {
    const size_t rasterAt = at - textureHeaderSize + 72, compressionAt = rasterAt + 15;
    const RasterFormat& format = *findFormat(raster & formatMask);
    // All sizes in 64 bits: the sides are checked, but the arithmetic must not rely on it.
    const uint64_t pixelCount = uint64_t(out.width) * uint64_t(out.height);
    const int paletteSize = raster & palette8Flag ? 256 : raster & palette4Flag ? 32 : 0;
    if ((raster & palette8Flag) && (raster & palette4Flag))
        return fail(rasterAt, "both palette flags in raster format " + hex(raster));

    out.format = format.name;
    uint64_t expected = pixelCount * uint64_t(format.depth / 8);
    const Compression* blocks = nullptr;
    if (compression != 0) {
        for (const auto& c : compressions)
            if (c.number == compression) blocks = &c;
        if (!blocks)
            return fail(compressionAt,
                        "compression " + std::to_string(compression) + " is not handled");
        out.format = "DXT" + std::to_string(compression);
        if (blocks->blockBytes == 0)
            return fail(compressionAt, out.format + " (premultiplied alpha) is not handled");
        if (paletteSize)
            return fail(rasterAt, "a palette on a " + out.format + "-compressed texture");
        expected = uint64_t(std::max(1, (out.width + 3) / 4)) *
                   uint64_t(std::max(1, (out.height + 3) / 4)) * uint64_t(blocks->blockBytes);
    }

    const uint8_t* colours = nullptr;
    if (paletteSize) {
        if (!format.paletteColour)
            return fail(rasterAt,
                        std::string("a palette of ") + format.name + " colours is not handled");
        out.format = std::string(paletteSize == 256 ? "PAL8 " : "PAL4 ") + format.name;
        if (end - at < size_t(paletteSize) * 4)
            return fail(at, "the data block ends inside the palette of " +
                                std::to_string(paletteSize) + " colours");
        colours = file_.data() + at;
        if (paletteSize == 256) {
            out.palette.resize(256 * 4);
            for (size_t i = 0; i < 256; ++i) {
                const Rgba c = format.paletteColour(colours + i * 4);
                std::copy_n(&c.r, 4, &out.palette[i * 4]);
            }
        }
        at += size_t(paletteSize) * 4;
        expected = pixelCount;
    }
    if (levels > 1) out.format += " " + std::to_string(levels) + " levels";

    uint32_t size = 0;
    const size_t levelStart = at;
    if (!level(at, end, "level 1", size)) return false;
    if (size != expected)
        return fail(levelStart, "level 1 holds " + std::to_string(size) + " bytes; " +
                                    std::to_string(out.width) + " x " + std::to_string(out.height) +
                                    " in " + out.format + " takes " + std::to_string(expected));
    // The level lies inside the file, so its pixels take at most eight times the file's size.
    const uint8_t* source = file_.data() + at;
    out.rgba.assign(static_cast<size_t>(pixelCount * 4), 0);
    if (blocks) {
        decodeBlocks(*blocks, source, out);
    } else {
        for (size_t i = 0; i < static_cast<size_t>(pixelCount); ++i) {
            Rgba c;
            if (colours) {
                if (source[i] >= paletteSize)
                    return fail(at + i, "colour " + std::to_string(source[i]) +
                                            " of a palette of " + std::to_string(paletteSize));
                c = format.paletteColour(colours + source[i] * 4);
            } else {
                c = format.pixel(source + i * size_t(format.depth / 8));
            }
            std::copy_n(&c.r, 4, &out.rgba[i * 4]);
        }
    }
    at += size;
    // The smaller levels are not kept, but they must lie inside the block all the same.
    for (int i = 2; i <= levels; ++i) {
        const std::string which = "level " + std::to_string(i);
        if (!level(at, end, which.c_str(), size)) return false;
        at += size;
    }
    return true;
}

} // namespace

std::string lowered(std::string text) {
    for (auto& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool sideTheGameTakes(int side) {
    return side > 0 && side <= maxSide && (side & (side - 1)) == 0;
}

std::string problemWith(const Texture& t) {
    if (t.name.empty()) return "a texture without a name";
    if (t.name.size() > maxNameLength)
        return "the name '" + t.name + "' is longer than " + std::to_string(maxNameLength) +
               " characters";
    if (t.name.find('\0') != std::string::npos) return "a name with a NUL character";
    if (!sideTheGameTakes(t.width) || !sideTheGameTakes(t.height))
        return "'" + t.name + "' is " + std::to_string(t.width) + " x " + std::to_string(t.height) +
               "; each side must be a power of two from 1 to " + std::to_string(maxSide);
    if (t.rgba.size() != size_t(t.width) * size_t(t.height) * 4)
        return "'" + t.name + "' holds " + std::to_string(t.rgba.size()) + " bytes of pixels for " +
               std::to_string(t.width) + " x " + std::to_string(t.height);
    return "";
}

std::string problemWith(const Dictionary& d) {
    if (d.textures.size() > 0xFFFF) return "more than 65535 textures";
    for (size_t i = 0; i < d.textures.size(); ++i) {
        if (auto problem = problemWith(d.textures[i]); !problem.empty()) return problem;
        for (size_t j = 0; j < i; ++j)
            if (lowered(d.textures[j].name) == lowered(d.textures[i].name))
                return "'" + d.textures[j].name + "' and '" + d.textures[i].name +
                       "' differ only in case, and the game ignores case";
    }
    return "";
}

std::vector<uint8_t> write(const Dictionary& d, PixelFormat format) {
    std::vector<Stored> pixels;
    size_t texturesSize = 0;
    for (const auto& t : d.textures) {
        pixels.push_back(stored(t, format));
        texturesSize += chunkHeaderSize + textureChunkSize(t, pixels.back());
    }
    ByteWriter out;
    out.chunk(dictionaryChunk, chunkHeaderSize + 4 + texturesSize + chunkHeaderSize);
    out.chunk(dataChunk, 4);
    out.u16(static_cast<uint32_t>(d.textures.size()));
    out.u16(0); // device id
    for (size_t n = 0; n < d.textures.size(); ++n) {
        const Texture& t = d.textures[n];
        const Stored& s = pixels[n];
        bool translucent = false;
        if (s.palette) {
            for (uint8_t index : s.picture.indices)
                translucent = translucent || s.picture.colours[index * 4 + 3] < 255;
        } else {
            for (size_t i = 3; i < t.rgba.size(); i += 4)
                translucent = translucent || t.rgba[i] < 255;
        }
        out.chunk(textureChunk, textureChunkSize(t, s));
        out.chunk(dataChunk, textureDataSize(t, s));
        out.u32(direct3d8);
        out.u32(linearClamped);
        out.name(t.name);
        out.name("");
        out.u32(s.palette ? palette8Flag | format8888 : format8888);
        out.u32(translucent ? 1 : 0);
        out.u16(static_cast<uint32_t>(t.width));
        out.u16(static_cast<uint32_t>(t.height));
        out.u8(s.palette ? 8 : 32); // depth
        out.u8(1);                  // levels
        out.u8(4);                  // raster type: texture
        out.u8(0);                  // compression
        if (s.palette) {
            out.bytes.insert(out.bytes.end(), s.picture.colours.begin(), s.picture.colours.end());
            out.u32(static_cast<uint32_t>(levelSize(t, s)));
            out.bytes.insert(out.bytes.end(), s.picture.indices.begin(), s.picture.indices.end());
        } else {
            out.u32(static_cast<uint32_t>(levelSize(t, s)));
            for (size_t i = 0; i < t.rgba.size(); i += 4) {
                out.u8(t.rgba[i + 2]);
                out.u8(t.rgba[i + 1]);
                out.u8(t.rgba[i]);
                out.u8(t.rgba[i + 3]);
            }
        }
        out.chunk(extensionChunk, 0);
    }
    out.chunk(extensionChunk, 0);
    return std::move(out.bytes);
}

bool read(std::span<const uint8_t> file, Dictionary& dictionary, std::string& error) {
    // Every size is checked before it is allocated, but the memory of a 32-bit tool may still
    // run out: that is one more file the reader cannot take, never an exception.
    try {
        Reader reader(file, error);
        if (reader.dictionary(dictionary)) return true;
    } catch (const std::bad_alloc&) {
        error = "at byte 0: not enough memory for the file's textures";
    } catch (const std::exception& e) {
        error = std::string("at byte 0: ") + e.what();
    }
    dictionary.textures.clear();
    return false;
}

std::string utf8Path(const std::filesystem::path& path) {
    try {
        const std::u8string text = path.u8string();
        return std::string(text.begin(), text.end());
    } catch (const std::exception&) {
        // A Windows name may hold half of a UTF-16 pair, which no UTF-8 spells.
        return "(a name that is no text)";
    }
}

std::filesystem::path pathFromUtf8(std::string_view utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

bool readBytes(const std::filesystem::path& path, std::vector<uint8_t>& bytes) {
    bytes.clear();
    try {
        std::ifstream in(path, std::ios::binary);
        if (!in) return false;
        in.seekg(0, std::ios::end);
        const auto length = static_cast<std::streamoff>(in.tellg());
        in.seekg(0, std::ios::beg);
        // A file larger than the address space is refused before anything is allocated.
        if (length < 0 || static_cast<uint64_t>(length) > maxFileBytes) return false;
        bytes.resize(static_cast<size_t>(length));
        in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (in) return true;
    } catch (const std::exception&) {
    }
    bytes.clear();
    return false;
}

bool writeBytes(const std::filesystem::path& path, std::span<const uint8_t> bytes) {
    try {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        out.close();
        return static_cast<bool>(out);
    } catch (const std::exception&) {
        return false;
    }
}

bool readFile(const std::filesystem::path& path, Dictionary& dictionary, std::string& error) {
    dictionary.textures.clear();
    std::vector<uint8_t> bytes;
    if (!readBytes(path, bytes)) {
        error = utf8Path(path) + ": cannot be read";
        return false;
    }
    if (read(bytes, dictionary, error)) return true;
    error = utf8Path(path) + ": " + error;
    return false;
}

bool writeFile(const std::filesystem::path& path, const Dictionary& dictionary, std::string& error,
               PixelFormat format) {
    if (auto problem = problemWith(dictionary); !problem.empty()) {
        error = utf8Path(path) + ": " + problem;
        return false;
    }
    if (!writeBytes(path, write(dictionary, format))) {
        error = utf8Path(path) + ": cannot be written";
        return false;
    }
    return true;
}

} // namespace texdict
