#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

// Two 32-bit floats, as a text-scale or position pair.
struct FloatPair {
    float x;
    float y;

    bool operator==(const FloatPair&) const = default;
};

// The host's own colour layout: handed to its drawing routines as it is.
struct Rgba {
    std::uint8_t r;
    std::uint8_t g;
    std::uint8_t b;
    std::uint8_t a;

    bool operator==(const Rgba&) const = default;
};

// One key/value line. Key and value view the reader's buffer, so an entry is valid only
// while the reader that produced it lives and is not loaded again.
struct IniEntry {
    std::string_view key;
    std::string_view value; // as stored: trailing blanks cut, quotes kept
    bool quoted = false;
    bool absent = false; // no line defines the key: every conversion gives its default

    // The result views the reader's buffer or the default, whichever it came from.
    std::string_view asString(std::string_view defaultValue) const;
    std::int32_t asInt(std::int32_t defaultValue) const;
    float asFloat(float defaultValue) const;
    bool asBool() const;
    std::vector<std::int32_t> asIntList() const;
    std::vector<float> asFloatList() const;
    FloatPair asFloatPair(float defaultX, float defaultY) const;
    Rgba asColor(Rgba defaultColor) const;
};

// The entries of one key/value file, in file order. Not copyable: the entries view its buffer.
class IniReader {
  public:
    IniReader() = default;
    IniReader(const IniReader&) = delete;
    IniReader& operator=(const IniReader&) = delete;
    IniReader(IniReader&&) = default;
    IniReader& operator=(IniReader&&) = default;

    // A file that cannot be read whole and parsed (missing, locked, read short, out of memory)
    // leaves the reader empty and gives false.
    bool load(const char* path);
    // Parses a copy of the bytes, as load does with a file's bytes; more than load takes from
    // a file (16 MB) read as none.
    void parse(const char* data, std::size_t size);

    IniEntry find(std::string_view key) const;
    const std::vector<IniEntry>& entries() const { return entries_; }

  private:
    // False when there was no memory for the entries: the reader is then empty.
    bool parseBuffer();

    std::vector<char> buffer_;
    std::vector<IniEntry> entries_;
};
