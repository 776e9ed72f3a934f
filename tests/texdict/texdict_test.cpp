// The texture dictionary files: the bytes the writer lays down, the formats the reader decodes,
// and the files it refuses.
#include "texdict/hud_check.h"
#include "texdict/texdict.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

void put32(Bytes& out, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void put16(Bytes& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}
uint32_t at32(const Bytes& b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | uint32_t(b[at + 3]) << 24;
}

Bytes chunk(uint32_t type, const Bytes& body, uint32_t stamp = 0x0C02FFFF) {
    Bytes out;
    put32(out, type);
    put32(out, static_cast<uint32_t>(body.size()));
    put32(out, stamp);
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

// A texture as another tool might write it.
struct Raw {
    uint32_t raster;
    int width, height, depth, compression;
    Bytes palette;
    std::vector<Bytes> levels;
    uint32_t platform = 8;
};

Bytes textureChunk(const Raw& raw, const std::string& name = "t") {
    Bytes body;
    put32(body, raw.platform);
    put32(body, 0x3302);
    for (size_t i = 0; i < 64; ++i)
        body.push_back(i < name.size() ? static_cast<uint8_t>(name[i]) : 0);
    put32(body, raw.raster);
    put32(body, 1);
    put16(body, static_cast<uint32_t>(raw.width));
    put16(body, static_cast<uint32_t>(raw.height));
    body.push_back(static_cast<uint8_t>(raw.depth));
    body.push_back(static_cast<uint8_t>(raw.levels.size()));
    body.push_back(4);
    body.push_back(static_cast<uint8_t>(raw.compression));
    body.insert(body.end(), raw.palette.begin(), raw.palette.end());
    for (const auto& level : raw.levels) {
        put32(body, static_cast<uint32_t>(level.size()));
        body.insert(body.end(), level.begin(), level.end());
    }
    Bytes texture = chunk(0x01, body);
    const Bytes extension = chunk(0x03, {});
    texture.insert(texture.end(), extension.begin(), extension.end());
    return chunk(0x15, texture);
}

Bytes dictionaryOf(const std::vector<Bytes>& textures, uint32_t stamp = 0x0C02FFFF) {
    Bytes header;
    put16(header, static_cast<uint32_t>(textures.size()));
    put16(header, 0);
    Bytes body = chunk(0x01, header, stamp);
    for (const auto& t : textures)
        body.insert(body.end(), t.begin(), t.end());
    const Bytes extension = chunk(0x03, {}, stamp);
    body.insert(body.end(), extension.begin(), extension.end());
    return chunk(0x16, body, stamp);
}

Bytes le16s(std::initializer_list<uint16_t> values) {
    Bytes out;
    for (uint16_t v : values)
        put16(out, v);
    return out;
}

// A DXT colour block: two 565 colours and sixteen 2-bit indices, pixel 0 in the lowest bits.
Bytes colourBlock(uint16_t c0, uint16_t c1, uint32_t indices) {
    Bytes out = le16s({c0, c1});
    put32(out, indices);
    return out;
}

Bytes joined(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

texdict::Texture texture(const std::string& name, int w, int h) {
    texdict::Texture t{name, w, h, Bytes(size_t(w) * size_t(h) * 4, 255), ""};
    for (size_t i = 0; i < t.rgba.size(); ++i)
        t.rgba[i] = static_cast<uint8_t>(i * 7);
    return t;
}

TEST(TextureDictionaryWriter, LaysOutChunksHeaderAndPixelsByteForByte) {
    texdict::Dictionary d;
    d.textures.push_back({"siteM16", 2, 1, {1, 2, 3, 4, 10, 20, 30, 255}, ""});
    const Bytes file = texdict::write(d);

    // 92 + 4wh = 100 in the texture's data block; (12 + 100) + 12 = 124 in the texture;
    // (12 + 4) + (12 + 124) + 12 = 164 in the dictionary.
    ASSERT_EQ(file.size(), 12u + 164u);
    const std::vector<std::pair<size_t, uint32_t>> words = {
        {0, 0x16}, {4, 164},          {8, 0x0C02FFFF},   {12, 0x01},       {16, 4},
        {24, 1},   {28, 0x15},        {32, 124},         {36, 0x0C02FFFF}, {40, 0x01},
        {44, 100}, {48, 0x0C02FFFF},  {52, 8},           {56, 0x3302},     {124, 0x0500},
        {128, 1},  {132, 0x00010002}, {136, 0x00040120}, {140, 8},         {152, 0x03},
        {156, 0},  {164, 0x03},       {168, 0}};
    for (const auto& [offset, value] : words)
        EXPECT_EQ(at32(file, offset), value) << "at byte " << offset;
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&file[60])), "siteM16");
    EXPECT_EQ(file[60 + 31], 0) << "the name is NUL-padded";
    for (size_t i = 92; i < 124; ++i)
        EXPECT_EQ(file[i], 0) << "the mask name is empty, at byte " << i;
    // Pixels B, G, R, A, rows from the top.
    EXPECT_EQ(Bytes(file.begin() + 144, file.begin() + 152), Bytes({3, 2, 1, 4, 30, 20, 10, 255}));

    d.textures[0].rgba[3] = 255;
    EXPECT_EQ(at32(texdict::write(d), 128), 0u) << "no alpha below 255";
}

TEST(TextureDictionaryWriter, LaysOutAPaletteTextureByteForByte) {
    texdict::Dictionary d;
    d.textures.push_back({"star", 2, 2, {1, 2, 3, 4, 10, 20, 30, 255, 1, 2, 3, 4, 0, 0, 0, 0}, ""});
    const Bytes file = texdict::write(d, texdict::PixelFormat::automatic);

    // 88 + 1024 + 4 + wh = 1120 in the data block; 1144 in the texture; 1184 in the dictionary.
    ASSERT_EQ(file.size(), 12u + 1184u);
    const std::vector<std::pair<size_t, uint32_t>> words = {
        {4, 1184},         {32, 1144},        {44, 1120},      {124, 0x2500}, {128, 1},
        {132, 0x00020002}, {136, 0x00040108}, {140 + 1024, 4}, {1172, 0x03},  {1184, 0x03}};
    for (const auto& [offset, value] : words)
        EXPECT_EQ(at32(file, offset), value) << "at byte " << offset;
    // The palette R, G, B, A, then one index a pixel, rows from the top.
    const Bytes palette(file.begin() + 140, file.begin() + 140 + 1024);
    const Bytes indices(file.begin() + 1168, file.begin() + 1172);
    for (int pixel = 0; pixel < 4; ++pixel)
        EXPECT_EQ(
            Bytes(palette.begin() + indices[pixel] * 4, palette.begin() + indices[pixel] * 4 + 4),
            Bytes(d.textures[0].rgba.begin() + pixel * 4,
                  d.textures[0].rgba.begin() + pixel * 4 + 4))
            << "pixel " << pixel;
    EXPECT_EQ(indices[0], indices[2]) << "one entry for one colour";

    d.textures[0].rgba = {1, 2, 3, 255, 10, 20, 30, 255, 1, 2, 3, 255, 0, 0, 0, 255};
    EXPECT_EQ(at32(texdict::write(d, texdict::PixelFormat::automatic), 128), 0u)
        << "no palette entry used with alpha below 255";
}

// A picture of 4096 colours, each channel changing across it.
texdict::Texture gradient(const std::string& name) {
    texdict::Texture t{name, 64, 64, Bytes(64 * 64 * 4), ""};
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            uint8_t* p = &t.rgba[size_t(y * 64 + x) * 4];
            p[0] = uint8_t(x * 4);
            p[1] = uint8_t(y * 4);
            p[2] = uint8_t(255 - x * 2 - y);
            p[3] = uint8_t(128 + x);
        }
    return t;
}

TEST(TextureDictionaryWriter, WritesAPaletteOnlyWhereAskedOrWhereItLosesNothing) {
    texdict::Dictionary d;
    d.textures = {texture("few", 16, 16), gradient("many")};
    auto written = [&](texdict::PixelFormat format) {
        texdict::Dictionary back;
        std::string error;
        EXPECT_TRUE(texdict::read(texdict::write(d, format), back, error)) << error;
        return back.textures;
    };
    // 16 x 16 pixels of 4 bytes: at most 256 colours, so the palette loses nothing.
    const auto automatic = written(texdict::PixelFormat::automatic);
    ASSERT_EQ(automatic.size(), 2u);
    EXPECT_EQ(automatic[0].format, "PAL8 8888");
    EXPECT_EQ(automatic[0].rgba, d.textures[0].rgba);
    EXPECT_EQ(automatic[1].format, "8888");
    EXPECT_EQ(automatic[1].rgba, d.textures[1].rgba);
    EXPECT_EQ(written(texdict::PixelFormat::rgba8888)[0].format, "8888");

    const auto reduced = written(texdict::PixelFormat::palette8);
    ASSERT_EQ(reduced.size(), 2u);
    EXPECT_EQ(reduced[0].rgba, d.textures[0].rgba);
    EXPECT_EQ(reduced[1].format, "PAL8 8888");
    // 4096 colours in 256: each pixel stays near its colour, and on average nearer still.
    long total = 0;
    int worst = 0;
    for (size_t i = 0; i < reduced[1].rgba.size(); ++i) {
        const int off = std::abs(reduced[1].rgba[i] - d.textures[1].rgba[i]);
        total += off;
        worst = std::max(worst, off);
    }
    EXPECT_LT(double(total) / double(reduced[1].rgba.size()), 4.0);
    EXPECT_LT(worst, 32);
}

TEST(TextureDictionaryWriter, RefusesWhatTheGameCannotLoad) {
    texdict::Dictionary d;
    d.textures = {texture(std::string(31, 'n'), 1024, 1)};
    EXPECT_EQ(texdict::problemWith(d), "");
    d.textures = {texture(std::string(32, 'n'), 4, 4)};
    EXPECT_NE(texdict::problemWith(d).find("longer than 31"), std::string::npos);
    for (auto [w, h] : {std::pair{3, 4}, {4, 2048}, {0, 4}}) {
        d.textures = {texture("x", w, h)};
        EXPECT_NE(texdict::problemWith(d).find("power of two"), std::string::npos) << w << "x" << h;
    }
    d.textures = {texture("Star", 2, 2), texture("star", 2, 2)};
    EXPECT_NE(texdict::problemWith(d).find("case"), std::string::npos);
}

TEST(TextureDictionaryReader, ReadsBackWhatTheWriterWrote) {
    texdict::Dictionary d;
    d.textures = {texture("blrect", 8, 4), texture("siteM16", 1, 16)};
    texdict::Dictionary back;
    std::string error;
    ASSERT_TRUE(texdict::read(texdict::write(d), back, error)) << error;
    ASSERT_EQ(back.textures.size(), 2u);
    for (size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(back.textures[i].name, d.textures[i].name);
        EXPECT_EQ(back.textures[i].width, d.textures[i].width);
        EXPECT_EQ(back.textures[i].rgba, d.textures[i].rgba);
        EXPECT_EQ(back.textures[i].format, "8888");
    }
}

struct Decoded {
    const char* what;
    Raw raw;
    std::vector<std::pair<int, Bytes>> pixels; // index, R G B A
};

TEST(TextureDictionaryReader, DecodesTheFormatsOtherToolsWrite) {
    Bytes palette8(256 * 4, 0), palette4(32 * 4, 0);
    palette8[5 * 4] = 9, palette8[5 * 4 + 1] = 8, palette8[5 * 4 + 2] = 7, palette8[5 * 4 + 3] = 6;
    palette4[31 * 4] = 1, palette4[31 * 4 + 1] = 2, palette4[31 * 4 + 2] = 3,
                  palette4[31 * 4 + 3] = 0;
    // DXT5 alpha: 255 and 0, then pixel 0 index 0, pixel 1 index 1, pixel 2 index 2.
    const Bytes alpha5 = {255, 0, 0x88, 0, 0, 0, 0, 0};
    const Bytes alpha3 = {0x0F, 0, 0, 0, 0, 0, 0, 0x70};
    const Decoded cases[] = {
        {"565",
         {0x0200, 2, 1, 16, 0, {}, {le16s({0xF800, 0x07E0})}},
         {{0, {255, 0, 0, 255}}, {1, {0, 255, 0, 255}}}},
        {"1555",
         {0x0100, 2, 1, 16, 0, {}, {le16s({0x7C00, 0x801F})}},
         {{0, {255, 0, 0, 0}}, {1, {0, 0, 255, 255}}}},
        {"4444", {0x0300, 1, 1, 16, 0, {}, {le16s({0x8F10})}}, {{0, {255, 17, 0, 136}}}},
        {"555", {0x0A00, 1, 1, 16, 0, {}, {le16s({0x03E0})}}, {{0, {0, 255, 0, 255}}}},
        {"grey",
         {0x0400, 2, 1, 8, 0, {}, {{0x40, 0xFF}}},
         {{0, {64, 64, 64, 255}}, {1, {255, 255, 255, 255}}}},
        {"888", {0x0600, 1, 1, 32, 0, {}, {{1, 2, 3, 0}}}, {{0, {3, 2, 1, 255}}}},
        {"8-bit palette",
         {0x2500, 2, 1, 8, 0, palette8, {{0, 5}}},
         {{0, {0, 0, 0, 0}}, {1, {9, 8, 7, 6}}}},
        {"4-bit palette of 888", {0x4600, 1, 1, 4, 0, palette4, {{31}}}, {{0, {1, 2, 3, 255}}}},
        {"mipmaps: the first level",
         {0x8500, 2, 1, 32, 0, {}, {{1, 2, 3, 4, 5, 6, 7, 8}, {9, 9, 9, 9}}},
         {{0, {3, 2, 1, 4}}, {1, {7, 6, 5, 8}}}},
        {"DXT1, four colours",
         {0x0200, 4, 4, 16, 1, {}, {colourBlock(0xF800, 0x001F, 0xE4)}},
         {{0, {255, 0, 0, 255}},
          {1, {0, 0, 255, 255}},
          {2, {170, 0, 85, 255}},
          {3, {85, 0, 170, 255}},
          {15, {255, 0, 0, 255}}}},
        // A 2 x 2 texture takes one block's top-left corner: pixels 0, 1, 4 and 5.
        {"DXT1, three colours and clear",
         {0x0100, 2, 2, 16, 1, {}, {colourBlock(0x001F, 0xF800, 0xE00)}},
         {{2, {127, 0, 127, 255}}, {3, {0, 0, 0, 0}}}},
        {"DXT3",
         {0x0300, 4, 4, 16, 3, {}, {joined(alpha3, colourBlock(0xFFFF, 0, 0))}},
         {{0, {255, 255, 255, 255}}, {1, {255, 255, 255, 0}}, {15, {255, 255, 255, 119}}}},
        {"DXT5",
         {0x0300, 4, 4, 16, 5, {}, {joined(alpha5, colourBlock(0xFFFF, 0, 0))}},
         {{0, {255, 255, 255, 255}}, {1, {255, 255, 255, 0}}, {2, {255, 255, 255, 218}}}},
    };
    for (const auto& c : cases) {
        texdict::Dictionary d;
        std::string error;
        ASSERT_TRUE(texdict::read(dictionaryOf({textureChunk(c.raw)}), d, error))
            << c.what << ": " << error;
        ASSERT_EQ(d.textures.size(), 1u) << c.what;
        const auto& t = d.textures[0];
        EXPECT_EQ(t.width, c.raw.width) << c.what;
        EXPECT_EQ(t.height, c.raw.height) << c.what;
        for (const auto& [index, rgba] : c.pixels)
            EXPECT_EQ(Bytes(t.rgba.begin() + index * 4, t.rgba.begin() + index * 4 + 4), rgba)
                << c.what << ", pixel " << index;
    }
}

TEST(TextureDictionaryReader, TakesTheOlderEnginesStampsAndRefusesNewerOnes) {
    const Bytes one = textureChunk({0x0500, 1, 1, 32, 0, {}, {{0, 0, 0, 0}}});
    for (uint32_t stamp : {0x0C02FFFFu, 0x0800FFFFu, 0x0401FFFFu, 0x00000310u}) {
        texdict::Dictionary d;
        std::string error;
        EXPECT_TRUE(texdict::read(dictionaryOf({one}, stamp), d, error)) << std::hex << stamp;
    }
    texdict::Dictionary d;
    std::string error;
    EXPECT_FALSE(texdict::read(dictionaryOf({one}, 0x0C03FFFF), d, error));
    EXPECT_EQ(error.rfind("at byte 0: ", 0), 0u) << error;
    EXPECT_NE(error.find("newer"), std::string::npos) << error;
}

TEST(TextureDictionaryReader, RefusesWhatItDoesNotHandleByName) {
    const std::pair<Raw, const char*> cases[] = {
        {{0x0200, 4, 4, 16, 2, {}, {Bytes(16)}}, "DXT2"},
        {{0x0200, 4, 4, 16, 4, {}, {Bytes(16)}}, "DXT4"},
        {{0x0200, 4, 4, 16, 6, {}, {Bytes(8)}}, "compression 6"},
        {{0x0700, 1, 1, 16, 0, {}, {Bytes(2)}}, "raster format 0x700"},
        {{0x2100, 1, 1, 8, 0, Bytes(1024), {Bytes(1)}}, "palette of 1555"},
        {{0x0500, 1, 1, 32, 0, {}, {Bytes(4)}, 9}, "platform 9"},
    };
    for (const auto& [raw, name] : cases) {
        texdict::Dictionary d;
        std::string error;
        EXPECT_FALSE(texdict::read(dictionaryOf({textureChunk(raw)}), d, error)) << name;
        EXPECT_NE(error.find(name), std::string::npos) << error;
        EXPECT_TRUE(d.textures.empty());
    }
}

TEST(TextureDictionaryReader, RefusesShortAndInconsistentFilesSayingWhere) {
    texdict::Dictionary d;
    d.textures = {texture("star", 2, 2)};
    const Bytes good = texdict::write(d);
    std::string error;
    for (size_t length = 0; length < good.size(); ++length) {
        EXPECT_FALSE(texdict::read({good.data(), length}, d, error)) << "cut at " << length;
        EXPECT_EQ(error.rfind("at byte ", 0), 0u) << error;
        EXPECT_EQ(error.find("not a texture dictionary") == std::string::npos, length >= 12)
            << error;
    }

    // The texture chunk one byte larger than the dictionary has room for.
    Bytes bad = good;
    bad[32] += 13;
    EXPECT_FALSE(texdict::read(bad, d, error));
    EXPECT_EQ(error.rfind("at byte 28: ", 0), 0u) << error;

    // Another kind of file altogether is named as such before the detail.
    const Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H'};
    EXPECT_FALSE(texdict::read(png, d, error));
    EXPECT_EQ(error.rfind("at byte 0: a PNG picture, not a texture dictionary: ", 0), 0u) << error;
    EXPECT_NE(error.find("texdict pack"), std::string::npos) << error;
    EXPECT_FALSE(texdict::read({png.data(), 4}, d, error));
    EXPECT_EQ(error.rfind("at byte 0: ", 0), 0u) << error;
    EXPECT_NE(error.find("not a texture dictionary"), std::string::npos) << error;

    // A level that claims more pixels than a 2 x 2 texture has, still inside the block.
    const std::pair<Raw, const char*> inconsistent[] = {
        {{0x0500, 2, 2, 32, 0, {}, {Bytes(20)}}, "level 1 holds 20 bytes"},
        {{0x0500, 2, 2, 16, 0, {}, {Bytes(16)}}, "depth 16"},
        {{0x4500, 1, 1, 4, 0, Bytes(128), {{32}}}, "colour 32 of a palette of 32"},
        {{0x0500, 0, 2, 32, 0, {}, {Bytes()}}, "side of 0"},
    };
    for (const auto& [raw, what] : inconsistent) {
        EXPECT_FALSE(texdict::read(dictionaryOf({textureChunk(raw, "star")}), d, error)) << what;
        EXPECT_NE(error.find(what), std::string::npos) << error;
        EXPECT_NE(error.find("'star'"), std::string::npos) << error;
    }

    // A 4-bit palette of 32 colours takes 128 bytes; this block ends 40 bytes into it (36
    // palette bytes, then 4 that would be the level's size).
    EXPECT_FALSE(texdict::read(
        dictionaryOf({textureChunk({0x4500, 1, 1, 4, 0, Bytes(36), {Bytes()}}, "star")}), d,
        error));
    EXPECT_NE(error.find("the data block ends inside the palette of 32 colours"), std::string::npos)
        << error;

    // Sides whose byte counts wrap in 32 bits, with a level sized to the wrapped count.
    const std::pair<Raw, const char*> wrapping[] = {
        {{0x0500, 32768, 32768, 32, 0, {}, {Bytes()}}, "32768 x 32768"},
        {{0x0100, 46341, 46341, 16, 0, {}, {Bytes(9266)}}, "46341 x 46341"},
        {{0x0300, 65535, 65535, 16, 3, {}, {Bytes()}}, "65535 x 65535"},
        {{0x0400, 8193, 1, 8, 0, {}, {Bytes(8193)}}, "8193 x 1"},
    };
    for (const auto& [raw, what] : wrapping) {
        EXPECT_FALSE(texdict::read(dictionaryOf({textureChunk(raw)}), d, error)) << what;
        EXPECT_EQ(error.rfind("at byte 132: texture 't': ", 0), 0u) << error;
        EXPECT_NE(error.find(std::string(what) + " pixels: a side above 8192"), std::string::npos)
            << error;
    }
    // The largest side taken.
    EXPECT_TRUE(texdict::read(
        dictionaryOf({textureChunk({0x0400, 1, 8192, 8, 0, {}, {Bytes(8192, 7)}})}), d, error))
        << error;

    // A level size beyond the end of its block.
    Raw beyond{0x0500, 1, 1, 32, 0, {}, {Bytes(4)}};
    Bytes file = dictionaryOf({textureChunk(beyond)});
    file[12 + 16 + 12 + 12 + 88] = 0xFF;
    EXPECT_FALSE(texdict::read(file, d, error));
    EXPECT_NE(error.find("level 1 claims 255 bytes"), std::string::npos) << error;
}

std::vector<std::string> problemsIn(const texdict::Dictionary& dictionary, const char* file) {
    std::vector<std::string> texts;
    for (const auto& finding :
         texdict::checkAgainstHud(dictionary, *texdict::hudDictionaryNamed(file)))
        texts.push_back((finding.problem ? "" : "note: ") + finding.text);
    return texts;
}

TEST(HudDictionaryCheck, NamesTheTextureMeantForSwappedLettersButNotForAnotherNumber) {
    texdict::Dictionary phones{{{"phnoe", 4, 4, {}, ""}, {"phone_class", 4, 4, {}, ""}}};
    EXPECT_EQ(
        problemsIn(phones, "data/PHONE_III.TXD"),
        std::vector<std::string>{"'phnoe' is never looked up: did you mean 'phone'? Until one "
                                 "is named so, the HUD draws the phone without a picture"});

    texdict::Dictionary ring;
    for (const char* name :
         {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "13", "sring", "shl"})
        ring.textures.push_back({name, 4, 4, {}, ""});
    const auto found = problemsIn(ring, "ring_iii.txd");
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0], "'13' is never looked up: the HUD draws it nowhere; name it as one of the "
                        "names `texdict --help` lists, or leave it out");
    EXPECT_EQ(found[1].rfind("'12' is missing", 0), 0u) << found[1];
}

TEST(HudDictionaryCheck, SaysWhichSidesTheGameTakesInstead) {
    texdict::Dictionary phones{{{"phone", 100, 2048, {}, ""}, {"phone_class", 64, 100, {}, ""}}};
    EXPECT_EQ(problemsIn(phones, "phone_iii.txd"),
              (std::vector<std::string>{"'phone' is 100 x 2048: the game takes sides that are "
                                        "powers of two from 1 to 1024; make it 128 x 1024",
                                        "'phone_class' is 64 x 100: the game takes sides that "
                                        "are powers of two from 1 to 1024; make it 64 x 128"}));
}

} // namespace
