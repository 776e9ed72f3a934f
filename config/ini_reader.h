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

// What a settings file's bytes turned out to be. The reader takes the first seven as text (all
// of it as UTF-8 from then on); the others give no entries.
enum class TextForm : std::uint8_t {
    Ascii,
    Utf8,
    Utf8WithMark,
    Utf16LittleEndian, // with its mark
    Utf16BigEndian,    // with its mark
    Utf16WithoutMark,  // told by the NUL high byte of its ASCII characters
    SingleBytes,       // each byte one character, as Windows-1252
    Empty,
    Utf32,
    NotText, // NUL bytes where no text has them
    TooLarge,
};
bool isText(TextForm form);

// One key/value line. Key, value and text view the reader's buffer, so an entry is valid only
// while the reader that produced it lives and is not loaded again.
struct IniEntry {
    std::string_view key;
    std::string_view value; // as stored: trailing blanks cut, quotes kept
    std::string_view text;  // the whole line, without its line end
    int line = 0;           // counted from 1
    bool quoted = false;
    bool absent = false; // no line defines the key: every conversion gives its default
    // What the line's walk passed over, which the findings name: a byte-order mark before the
    // key (where two files were joined), no '=' between key and value, and the '#' or ';'
    // that ends the value's text directly (0 when none does).
    bool markSkipped = false;
    bool noEquals = false;
    char cutAt = 0;
    // A setting was taken from this line (IniReader::take).
    mutable bool used = false;

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
    // find, marking the line found as used.
    IniEntry take(std::string_view key) const;
    const std::vector<IniEntry>& entries() const { return entries_; }
    TextForm form() const { return form_; }
    // The text the entries view, as UTF-8: without the file's mark and the NUL bytes after it.
    std::string_view text() const { return {buffer_.data(), buffer_.size()}; }
    // The last line of a text that NUL bytes follow to the end of the file (an editor that sets
    // the file's size first, a save cut short); 0 when none do. The NUL bytes are not read.
    int nulBytesAfterLine() const { return nulsAfterLine_; }

  private:
    // False when there was no memory for the entries: the reader is then empty.
    bool parseBuffer();
    // Brings the buffer to UTF-8 text and says what it was.
    TextForm decodeBuffer();

    std::vector<char> buffer_;
    std::vector<IniEntry> entries_;
    TextForm form_ = TextForm::Empty;
    std::size_t trailingNuls_ = 0;
    int nulsAfterLine_ = 0;
};
