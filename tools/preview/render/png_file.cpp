#include "tools/preview/render/png_file.h"

#include "tools/preview/files/whole_files.h"

#include "stb_image.h"
#include "stb_image_write.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <ostream>
#include <tuple>

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

// A fast PNG for frames that are mostly runs of one colour: one block of the fixed codes, whose
// only matches are the pixel before and the pixel above. Sooner than the general compressor by
// far, and not much larger on a HUD frame.
class BitWriter {
  public:
    explicit BitWriter(std::string& out) : out_(out) {}
    // value of n bits, n at most 24, least significant bit first.
    void put(uint32_t value, int n) {
        bits_ |= value << count_;
        count_ += n;
        while (count_ >= 8) {
            out_.push_back(static_cast<char>(bits_ & 0xFF));
            bits_ >>= 8;
            count_ -= 8;
        }
    }
    void flush() {
        if (count_ > 0) out_.push_back(static_cast<char>(bits_ & 0xFF));
        bits_ = 0;
        count_ = 0;
    }

  private:
    std::string& out_;
    uint32_t bits_ = 0;
    int count_ = 0;
};

// A Huffman code goes out most significant bit first.
uint32_t reversedBits(uint32_t code, int n) {
    uint32_t reversed = 0;
    for (int i = 0; i < n; ++i, code >>= 1)
        reversed = reversed << 1 | (code & 1);
    return reversed;
}

struct FixedCodes {
    uint32_t literal[288];
    int literalBits[288];
    int lengthSymbol[259]; // by match length, 3 to 258: its symbol's index in the tables below
    FixedCodes() {
        for (int symbol = 0; symbol < 288; ++symbol) {
            const auto [first, bits, base] = symbol < 144   ? std::tuple{0, 8, 0x30}
                                             : symbol < 256 ? std::tuple{144, 9, 0x190}
                                             : symbol < 280 ? std::tuple{256, 7, 0}
                                                            : std::tuple{280, 8, 0xC0};
            literal[symbol] = reversedBits(uint32_t(base + symbol - first), bits);
            literalBits[symbol] = bits;
        }
        for (int length = 3, index = 0; length <= 258; ++length) {
            while (index + 1 < 29 && lengthBase[index + 1] <= length)
                ++index;
            lengthSymbol[length] = index;
        }
    }
    static constexpr int lengthBase[29] = {3,  4,  5,  6,   7,   8,   9,   10,  11, 13,
                                           15, 17, 19, 23,  27,  31,  35,  43,  51, 59,
                                           67, 83, 99, 115, 131, 163, 195, 227, 258};
    static constexpr int lengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                            2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
};

void putDistance(BitWriter& out, uint32_t distance) {
    static constexpr uint32_t base[30] = {
        1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
        193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
    int code = 29;
    while (base[code] > distance)
        --code;
    out.put(reversedBits(uint32_t(code), 5), 5);
    const int extra = code < 4 ? 0 : code / 2 - 1;
    if (extra) out.put(distance - base[code], extra);
}

uint32_t adler32(const std::string& bytes) {
    uint32_t a = 1, b = 0;
    for (size_t at = 0; at < bytes.size();) {
        const size_t end = std::min(bytes.size(), at + 5552);
        for (; at < end; ++at) {
            a += static_cast<unsigned char>(bytes[at]);
            b += a;
        }
        a %= 65521;
        b %= 65521;
    }
    return b << 16 | a;
}

std::string zlibOfRuns(const std::string& raw, size_t rowBytes) {
    static const FixedCodes codes;
    std::string out = "\x78\x01";
    BitWriter bits(out);
    bits.put(1, 1); // the last block
    bits.put(1, 2); // of the fixed codes
    const size_t n = raw.size();
    const size_t distances[2] = {4, rowBytes <= 32768 ? rowBytes : 4};
    for (size_t at = 0; at < n;) {
        size_t best = 0, bestDistance = 0;
        for (const size_t distance : distances) {
            if (at < distance) continue;
            size_t length = 0;
            while (length < 258 && at + length < n &&
                   raw[at + length] == raw[at + length - distance])
                ++length;
            if (length > best) {
                best = length;
                bestDistance = distance;
            }
        }
        if (best < 3) {
            const auto literal = static_cast<unsigned char>(raw[at++]);
            bits.put(codes.literal[literal], codes.literalBits[literal]);
            continue;
        }
        const int index = codes.lengthSymbol[best];
        bits.put(codes.literal[257 + index], codes.literalBits[257 + index]);
        if (FixedCodes::lengthExtra[index])
            bits.put(uint32_t(best) - uint32_t(FixedCodes::lengthBase[index]),
                     FixedCodes::lengthExtra[index]);
        putDistance(bits, uint32_t(bestDistance));
        at += best;
    }
    bits.put(codes.literal[256], codes.literalBits[256]);
    bits.flush();
    const uint32_t check = adler32(raw);
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<char>(check >> shift & 0xFF));
    return out;
}

uint32_t crc32Of(const std::string& bytes, size_t from) {
    static const auto table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t c = i;
            for (int k = 0; k < 8; ++k)
                c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = from; i < bytes.size(); ++i)
        crc = table[(crc ^ static_cast<unsigned char>(bytes[i])) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

void appendBigEndian(std::string& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<char>(value >> shift & 0xFF));
}

void appendChunk(std::string& png, const char* type, const std::string& data) {
    appendBigEndian(png, uint32_t(data.size()));
    const size_t start = png.size();
    png += type;
    png += data;
    appendBigEndian(png, crc32Of(png, start));
}

std::string fastPng(const Image& image) {
    const size_t rowBytes = size_t(image.width) * 4 + 1;
    std::string raw(rowBytes * size_t(image.height), '\0');
    for (int y = 0; y < image.height; ++y)
        std::copy_n(image.pixels.begin() + std::ptrdiff_t(size_t(y) * size_t(image.width) * 4),
                    rowBytes - 1, raw.begin() + std::ptrdiff_t(size_t(y) * rowBytes + 1));
    std::string header;
    appendBigEndian(header, uint32_t(image.width));
    appendBigEndian(header, uint32_t(image.height));
    header += std::string("\x08\x06\x00\x00\x00", 5); // 8 bits, RGBA, plain
    std::string png = "\x89PNG\r\n\x1a\n";
    appendChunk(png, "IHDR", header);
    appendChunk(png, "IDAT", zlibOfRuns(raw, rowBytes));
    appendChunk(png, "IEND", "");
    return png;
}

} // namespace

bool writePng(const std::string& path, const Image& image, std::string& error,
              PngCompression compression) {
    // Frames are mostly rows of one colour: unfiltered rows at a middle level compress about as
    // small as the best filter per row, three times sooner; a watched page's frames, replaced
    // at every edit, are written faster still by the runs they are made of.
    if (compression == PngCompression::Fast)
        return writeWholeFile(
            path,
            [&](std::ostream& file) { return !image.empty() && bool(file << fastPng(image)); },
            error);
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
