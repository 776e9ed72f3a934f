#include "config/ini_reader.h"
#include "config/utf8_files.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>

namespace {

// Far beyond any real configuration file; a larger "file" (or a directory that reports a
// huge size) is treated as unreadable rather than allocated.
constexpr long maxFileSize = 16L * 1024 * 1024;

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}
bool isSeparator(char c) {
    return isBlank(c) || c == '=';
}
bool isComment(char c) {
    return c == '#' || c == ';';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

constexpr char byteOrderMark[] = "\xEF\xBB\xBF";

bool markAt(const char* p, const char* end) {
    return end - p >= 3 && std::memcmp(p, byteOrderMark, 3) == 0;
}

// Splits one line (without its line end) in a single walk. A comment, or a line of nothing but
// blanks and '=', has no key and gives no entry. A byte-order mark before the key is passed
// over, as it is at the start of a file.
bool parseLine(const char* p, const char* end, IniEntry& out) {
    out.text = std::string_view(p, static_cast<std::size_t>(end - p));
    out.markSkipped = false;
    for (;;) {
        while (p != end && isSeparator(*p))
            ++p;
        if (!markAt(p, end)) break;
        p += 3;
        out.markSkipped = true;
    }
    if (p == end || isComment(*p)) return false;
    const char* key = p;
    while (p != end && !isSeparator(*p) && !isComment(*p))
        ++p;
    out.key = std::string_view(key, static_cast<std::size_t>(p - key));
    bool equals = false;
    for (; p != end && isSeparator(*p); ++p)
        equals = equals || *p == '=';
    const char* value = p;
    const char* valueEnd = p;
    for (; p != end && !isComment(*p); ++p) {
        if (!isBlank(*p)) valueEnd = p + 1;
    }
    out.value = std::string_view(value, static_cast<std::size_t>(valueEnd - value));
    out.quoted = out.value.size() >= 2 && out.value.front() == '"' && out.value.back() == '"';
    out.absent = false;
    out.noEquals = !equals && !out.value.empty();
    out.cutAt = p != end && valueEnd == p && !out.value.empty() ? *p : 0;
    out.used = false;
    return true;
}

// NUL bytes all on one side of each pair, and many: UTF-16 text written without its mark. ASCII
// text leaves the high byte of each unit NUL: at odd offsets when the low byte comes first.
bool looksLikeUnmarkedUtf16(std::string_view bytes, bool& littleEndian) {
    std::size_t nuls[2] = {0, 0};
    for (std::size_t i = 0; i < bytes.size(); ++i)
        nuls[i % 2] += bytes[i] == '\0' ? 1 : 0;
    littleEndian = nuls[1] > 0;
    return bytes.size() % 2 == 0 && (nuls[0] == 0 || nuls[1] == 0) &&
           (nuls[0] + nuls[1]) * 4 >= bytes.size();
}

// Number readers: each skips white space, reads one number at p and advances p past it.
// They return false when no number in range starts there.

bool readNumber(const char*& p, const char* end, std::int32_t& out) {
    while (p != end && isSpace(*p))
        ++p;
    const char* q = p;
    bool negative = false;
    if (q != end && (*q == '+' || *q == '-')) {
        negative = *q == '-';
        ++q;
    }
    if (q == end || !isDigit(*q)) return false;
    constexpr std::int64_t limit = std::int64_t{1} << 31;
    std::int64_t magnitude = 0;
    for (; q != end && isDigit(*q); ++q) {
        // Saturate so that any number of digits is read without overflow.
        magnitude = std::min(magnitude * 10 + (*q - '0'), limit + 1);
    }
    p = q;
    if (magnitude > (negative ? limit : limit - 1)) return false;
    out = static_cast<std::int32_t>(negative ? -magnitude : magnitude);
    return true;
}

const char* skipDigits(const char* p, const char* end) {
    while (p != end && isDigit(*p))
        ++p;
    return p;
}

// Only sign, digits, point and exponent count as a number: no hex, inf or nan, and the
// conversion ignores the locale.
bool readNumber(const char*& p, const char* end, float& out) {
    while (p != end && isSpace(*p))
        ++p;
    const char* q = p;
    if (q != end && (*q == '+' || *q == '-')) ++q;
    const char* mantissa = q;
    q = skipDigits(q, end);
    bool digits = q != mantissa;
    if (q != end && *q == '.') {
        const char* fraction = q + 1;
        q = skipDigits(fraction, end);
        digits = digits || q != fraction;
    }
    if (!digits) return false;
    if (q != end && (*q == 'e' || *q == 'E')) {
        const char* exponent = q + 1;
        if (exponent != end && (*exponent == '+' || *exponent == '-')) ++exponent;
        if (exponent != end && isDigit(*exponent)) q = skipDigits(exponent, end);
    }
    // from_chars takes no plus sign.
    const char* first = (*p == '+') ? p + 1 : p;
    float value = 0;
    const auto result = std::from_chars(first, q, value);
    p = q;
    if (result.ec != std::errc{}) return false;
    out = value;
    return true;
}

// Feeds each number of the text to take until a read fails or take returns false.
template <class Number, class Take> void scanNumbers(std::string_view text, Take take) {
    const char* p = text.data();
    const char* end = p + text.size();
    Number n{};
    while (readNumber(p, end, n) && take(n)) {
    }
}

template <class Number> Number firstNumber(const IniEntry& entry, Number defaultValue) {
    Number result = defaultValue;
    scanNumbers<Number>(entry.value, [&](Number n) {
        result = n;
        return false;
    });
    return result;
}

template <class Number> std::vector<Number> numberList(const IniEntry& entry) {
    std::vector<Number> list;
    scanNumbers<Number>(entry.value, [&](Number n) {
        list.push_back(n);
        return true;
    });
    return list;
}

} // namespace

std::string_view IniEntry::asString(std::string_view defaultValue) const {
    if (absent) return defaultValue;
    return quoted ? value.substr(1, value.size() - 2) : value;
}

std::int32_t IniEntry::asInt(std::int32_t defaultValue) const {
    return firstNumber(*this, defaultValue);
}

float IniEntry::asFloat(float defaultValue) const {
    return firstNumber(*this, defaultValue);
}

bool IniEntry::asBool() const {
    constexpr std::string_view falseWords[] = {"", "0", "false", "FALSE", "no", "NO"};
    return std::find(std::begin(falseWords), std::end(falseWords), value) == std::end(falseWords);
}

std::vector<std::int32_t> IniEntry::asIntList() const {
    return numberList<std::int32_t>(*this);
}

std::vector<float> IniEntry::asFloatList() const {
    return numberList<float>(*this);
}

FloatPair IniEntry::asFloatPair(float defaultX, float defaultY) const {
    FloatPair pair{defaultX, defaultY};
    float* parts[] = {&pair.x, &pair.y};
    std::size_t next = 0;
    scanNumbers<float>(value, [&](float n) {
        *parts[next++] = n;
        return next < std::size(parts);
    });
    return pair;
}

Rgba IniEntry::asColor(Rgba defaultColor) const {
    Rgba color = defaultColor;
    std::uint8_t* parts[] = {&color.r, &color.g, &color.b, &color.a};
    std::size_t next = 0;
    scanNumbers<std::int32_t>(value, [&](std::int32_t n) {
        // Low 8 bits: conversion to an unsigned type wraps.
        *parts[next++] = static_cast<std::uint8_t>(n);
        return next < std::size(parts);
    });
    return color;
}

bool isText(TextForm form) {
    return form <= TextForm::SingleBytes;
}

bool IniReader::load(const char* path) {
    buffer_.clear();
    entries_.clear();
    form_ = TextForm::Empty;
    // Binary, so the size read is the size asked for on every platform; the parser drops the
    // CR of CR LF itself.
    std::FILE* file = openUtf8File(path, "rb");
    if (file == nullptr) return false;
    long size = -1;
    if (std::fseek(file, 0, SEEK_END) == 0) size = std::ftell(file);
    bool read = size == 0;
    if (size > 0 && size <= maxFileSize && std::fseek(file, 0, SEEK_SET) == 0) {
        try {
            buffer_.resize(static_cast<std::size_t>(size));
            buffer_.resize(std::fread(buffer_.data(), 1, buffer_.size(), file));
            read = buffer_.size() == static_cast<std::size_t>(size);
        } catch (const std::bad_alloc&) {
            buffer_.clear();
        }
    }
    std::fclose(file);
    if (!read) buffer_.clear();
    const bool parsed = parseBuffer();
    if (size > maxFileSize) form_ = TextForm::TooLarge;
    return parsed && read;
}

void IniReader::parse(const char* data, std::size_t size) {
    entries_.clear();
    buffer_.clear();
    // Bytes beyond what load takes from a file are taken as load takes such a file: as none.
    // The limit also keeps the entry count far below what a 32-bit vector can hold.
    if (size <= static_cast<std::size_t>(maxFileSize)) {
        try {
            buffer_.assign(data, data + size);
        } catch (const std::bad_alloc&) {
            buffer_.clear();
        }
    }
    parseBuffer();
    if (size > static_cast<std::size_t>(maxFileSize)) form_ = TextForm::TooLarge;
}

namespace {

// UTF-16 code units from bytes[start] on, as UTF-8; a pair of surrogates is one code point.
std::string utf8FromUtf16(std::string_view bytes, std::size_t start, bool littleEndian) {
    const auto unit = [&](std::size_t at) -> char32_t {
        const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
        return littleEndian ? byte(at) | byte(at + 1) << 8 : byte(at) << 8 | byte(at + 1);
    };
    std::string text;
    text.reserve(bytes.size());
    for (std::size_t at = start; at + 1 < bytes.size(); at += 2) {
        char32_t code = unit(at);
        if (code >= 0xD800 && code < 0xDC00 && at + 3 < bytes.size()) {
            const char32_t low = unit(at + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                at += 2;
            }
        }
        appendUtf8(text, code);
    }
    return text;
}

bool isLineEnd(char c) {
    return c == '\n' || c == '\r';
}

// Single bytes as Windows-1252. A UTF-8 byte-order mark at a line's start (before its key) is
// where a file saved with one was joined on: it is kept as the mark, which the line walk passes
// over.
std::string utf8FromSingleBytes(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size() * 2);
    bool lineStart = true;
    for (std::size_t at = 0; at < bytes.size(); ++at) {
        if (lineStart && markAt(bytes.data() + at, bytes.data() + bytes.size())) {
            text += byteOrderMark;
            at += 2;
            continue;
        }
        const char c = bytes[at];
        lineStart = isLineEnd(c) || (lineStart && isSeparator(c));
        appendUtf8(text, fromWindows1252(static_cast<unsigned char>(c)));
    }
    return text;
}

} // namespace

TextForm IniReader::decodeBuffer() {
    using namespace std::string_view_literals;
    std::string_view bytes(buffer_.data(), buffer_.size());
    if (bytes.starts_with("\0\0\xFE\xFF"sv) || bytes.starts_with("\xFF\xFE\0\0"sv))
        return TextForm::Utf32;
    // NUL bytes that end the file after its text (an editor that sets the size first, a save
    // cut short) are no part of it. UTF-16 text keeps whole units: its last may end in a NUL.
    const std::size_t lastText = bytes.find_last_not_of('\0');
    if (lastText == std::string_view::npos)
        return bytes.empty() ? TextForm::Empty : TextForm::NotText;
    const std::size_t textEnd = lastText + 1;
    const std::string_view units = bytes.substr(0, textEnd + textEnd % 2);
    const bool littleEndian = units.starts_with("\xFF\xFE"sv);
    bool unmarkedLittleEndian = false;
    if (littleEndian || units.starts_with("\xFE\xFF"sv)) {
        trailingNuls_ = bytes.size() - units.size();
        const std::string text = utf8FromUtf16(units, 2, littleEndian);
        buffer_.assign(text.begin(), text.end());
        if (std::memchr(buffer_.data(), 0, buffer_.size()) != nullptr) return TextForm::NotText;
        return littleEndian ? TextForm::Utf16LittleEndian : TextForm::Utf16BigEndian;
    }
    if (bytes.substr(0, textEnd).find('\0') != std::string_view::npos) {
        if (!looksLikeUnmarkedUtf16(units, unmarkedLittleEndian)) return TextForm::NotText;
        trailingNuls_ = bytes.size() - units.size();
        const std::string text = utf8FromUtf16(units, 0, unmarkedLittleEndian);
        buffer_.assign(text.begin(), text.end());
        return TextForm::Utf16WithoutMark;
    }
    trailingNuls_ = bytes.size() - textEnd;
    buffer_.resize(textEnd);
    bytes = bytes.substr(0, textEnd);
    const bool marked = bytes.starts_with(byteOrderMark);
    if (marked) bytes.remove_prefix(3);
    if (!validUtf8(bytes)) {
        const std::string text = utf8FromSingleBytes(bytes);
        buffer_.assign(text.begin(), text.end());
        return TextForm::SingleBytes;
    }
    if (marked) buffer_.erase(buffer_.begin(), buffer_.begin() + 3);
    if (buffer_.empty()) return TextForm::Empty;
    return marked ? TextForm::Utf8WithMark
           : std::any_of(bytes.begin(), bytes.end(), [](char c) { return c & 0x80; })
               ? TextForm::Utf8
               : TextForm::Ascii;
}

bool IniReader::parseBuffer() {
    trailingNuls_ = 0;
    nulsAfterLine_ = 0;
    try {
        form_ = decodeBuffer();
        if (!isText(form_)) buffer_.clear();
        // One entry at most per line: a single allocation holds them all.
        entries_.reserve(
            static_cast<std::size_t>(std::count_if(buffer_.begin(), buffer_.end(), isLineEnd)) + 1);
    } catch (const std::bad_alloc&) {
        buffer_.clear();
        return false;
    }
    // CR LF, LF and CR alone (as old Mac editors write) each end a line.
    const char* p = buffer_.data();
    const char* end = p + buffer_.size();
    int line = 1;
    for (; p != end; ++line) {
        const char* lineEnd = std::find_if(p, end, isLineEnd);
        const char* next = lineEnd;
        if (next != end) next += *next == '\r' && next + 1 != end && next[1] == '\n' ? 2 : 1;
        IniEntry entry;
        entry.line = line;
        if (parseLine(p, lineEnd, entry)) entries_.push_back(entry);
        p = next;
    }
    if (trailingNuls_ > 0 && isText(form_)) nulsAfterLine_ = line - 1;
    return true;
}

IniEntry IniReader::find(std::string_view key) const {
    for (const IniEntry& entry : entries_) {
        if (entry.key == key) return entry;
    }
    IniEntry missing;
    missing.absent = true;
    return missing;
}

IniEntry IniReader::take(std::string_view key) const {
    for (const IniEntry& entry : entries_) {
        if (entry.key == key) {
            entry.used = true;
            return entry;
        }
    }
    return find(key);
}
