#include "config/ini_reader.h"
#include "config/utf8_files.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <new>

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

// Splits one line (without its line end) in a single walk. A comment, or a line of nothing but
// blanks and '=', has no key and gives no entry.
bool parseLine(const char* p, const char* end, IniEntry& out) {
    while (p != end && isSeparator(*p))
        ++p;
    if (p == end || isComment(*p)) return false;
    const char* key = p;
    while (p != end && !isSeparator(*p) && !isComment(*p))
        ++p;
    out.key = std::string_view(key, static_cast<std::size_t>(p - key));
    while (p != end && isSeparator(*p))
        ++p;
    const char* value = p;
    const char* valueEnd = p;
    for (; p != end && !isComment(*p); ++p) {
        if (!isBlank(*p)) valueEnd = p + 1;
    }
    out.value = std::string_view(value, static_cast<std::size_t>(valueEnd - value));
    out.quoted = out.value.size() >= 2 && out.value.front() == '"' && out.value.back() == '"';
    out.absent = false;
    return true;
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

bool IniReader::load(const char* path) {
    buffer_.clear();
    entries_.clear();
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
    return parseBuffer() && read;
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
}

bool IniReader::parseBuffer() {
    const char* p = buffer_.data();
    const char* end = p + buffer_.size();
    static constexpr char byteOrderMark[] = "\xEF\xBB\xBF";
    if (buffer_.size() >= 3 && std::memcmp(p, byteOrderMark, 3) == 0) p += 3;
    try {
        // One entry at most per line: a single allocation holds them all.
        entries_.reserve(static_cast<std::size_t>(std::count(p, end, '\n')) + 1);
    } catch (const std::bad_alloc&) {
        return false;
    }
    while (p != end) {
        const void* newline = std::memchr(p, '\n', static_cast<std::size_t>(end - p));
        const char* lineEnd = newline ? static_cast<const char*>(newline) : end;
        const char* next = newline ? lineEnd + 1 : end;
        if (newline && lineEnd != p && lineEnd[-1] == '\r') --lineEnd;
        IniEntry entry;
        if (parseLine(p, lineEnd, entry)) entries_.push_back(entry);
        p = next;
    }
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
