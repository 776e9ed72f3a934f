#include "config/utf8_files.h"

#include <cstdint>

namespace {

constexpr char32_t replacement = 0xFFFD;

// The code point that starts at text[at], and how many bytes it takes (at least 1).
char32_t decodeUtf8(std::string_view text, std::size_t at, std::size_t& length) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    length = 1;
    if (lead < 0x80) return lead;
    std::size_t trail = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    if (trail == 0 || lead > 0xF4 || at + trail >= text.size()) return replacement;
    char32_t code = lead & (0x3F >> trail);
    for (std::size_t i = 1; i <= trail; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) return replacement;
        code = (code << 6) | (byte(at + i) & 0x3F);
    }
    static constexpr char32_t smallest[] = {0, 0x80, 0x800, 0x10000};
    if (code < smallest[trail] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return replacement;
    length = trail + 1;
    return code;
}

} // namespace

char32_t fromWindows1252(unsigned char byte) {
    // The five bytes Windows-1252 leaves undefined keep their own code, as Windows maps them.
    static constexpr char16_t high[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    return byte >= 0x80 && byte < 0xA0 ? high[byte - 0x80] : byte;
}

char32_t nextCodePoint(std::string_view text, std::size_t& at) {
    std::size_t length = 1;
    const char32_t code = decodeUtf8(text, at, length);
    at += length;
    return code;
}

bool validUtf8(std::string_view text) {
    for (std::size_t at = 0, length = 0; at < text.size(); at += length) {
        if (decodeUtf8(text, at, length) == replacement && length == 1) return false;
    }
    return true;
}

void appendUtf8(std::string& out, char32_t code) {
    if (code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) code = replacement;
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

std::wstring wideFromUtf8(std::string_view utf8) {
    std::wstring wide;
    wide.reserve(utf8.size());
    for (std::size_t at = 0; at < utf8.size();) {
        const char32_t code = nextCodePoint(utf8, at);
        if (code >= 0x10000 && sizeof(wchar_t) == 2) {
            wide += static_cast<wchar_t>(0xD800 + ((code - 0x10000) >> 10));
            wide += static_cast<wchar_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
        } else {
            wide += static_cast<wchar_t>(code);
        }
    }
    return wide;
}

std::string utf8FromWide(std::wstring_view wide) {
    std::string utf8;
    utf8.reserve(wide.size());
    for (std::size_t i = 0; i < wide.size(); ++i) {
        char32_t code = static_cast<std::uint32_t>(wide[i]);
        if (sizeof(wchar_t) == 2 && code >= 0xD800 && code <= 0xDFFF) {
            const bool paired = code < 0xDC00 && i + 1 < wide.size() && wide[i + 1] >= 0xDC00 &&
                                wide[i + 1] <= 0xDFFF;
            code = paired ? 0x10000 + ((code - 0xD800) << 10) + (wide[++i] - 0xDC00) : replacement;
        }
        appendUtf8(utf8, code);
    }
    return utf8;
}

std::FILE* openUtf8File(const char* path, const char* mode) {
#ifdef _WIN32
    try {
        return _wfopen(wideFromUtf8(path).c_str(), wideFromUtf8(mode).c_str());
    } catch (...) {
        return nullptr;
    }
#else
    // Only the native fuzzing build gets here: on Linux a path is bytes, and UTF-8 ones are
    // opened as they are, whatever the alphabet.
    return std::fopen(path, mode);
#endif
}
