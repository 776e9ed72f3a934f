// Parses arbitrary bytes and checks every entry and every conversion against a second reading
// written apart from the reader: the text decoded unit by unit, the line grammar walked phase by
// phase, numbers read by the C library. A text read as single bytes must also read the same in
// each form an editor saves it in: UTF-8 with and without its mark, UTF-16 in both orders.
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "config/ini_reader.h"
#include "config/utf8_files.h"
#include "fuzz_check.h"

namespace {

struct Line {
    std::string_view key;
    std::string_view value;
};

void appendUtf16(std::string& text, std::string_view bytes, bool big) {
    std::u16string units;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto lo = static_cast<unsigned char>(bytes[i + (big ? 1 : 0)]);
        const auto hi = static_cast<unsigned char>(bytes[i + (big ? 0 : 1)]);
        units += static_cast<char16_t>(hi << 8 | lo);
    }
    for (std::size_t i = 0; i < units.size(); ++i) {
        char32_t code = units[i];
        if (code >= 0xD800 && code < 0xDC00 && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
            units[i + 1] < 0xE000)
            code = 0x10000 + ((code - 0xD800) << 10) + (units[++i] - 0xDC00);
        appendUtf8(text, code);
    }
}

// The reader's text: NUL bytes at the end dropped, UTF-16 with or without its mark and single
// bytes (Windows-1252, a UTF-8 mark before a line's key kept) turned to UTF-8, a UTF-8 mark at
// the start dropped; false for bytes that are no text the reader takes.
bool referenceText(std::string_view bytes, std::string& text) {
    text.clear();
    if (bytes.starts_with(std::string_view("\0\0\xFE\xFF", 4)) ||
        bytes.starts_with(std::string_view("\xFF\xFE\0\0", 4)))
        return false;
    std::size_t end = bytes.size();
    while (end > 0 && bytes[end - 1] == '\0')
        --end;
    if (end == 0) return bytes.empty();
    // UTF-16 keeps the unit the last text byte belongs to.
    const std::string_view units = bytes.substr(0, end + end % 2);
    bytes = bytes.substr(0, end);
    const bool little = units.starts_with("\xFF\xFE"), big = units.starts_with("\xFE\xFF");
    if (little || big) {
        appendUtf16(text, units.substr(2), big);
    } else if (bytes.find('\0') != std::string_view::npos) {
        std::size_t even = 0, odd = 0;
        for (std::size_t i = 0; i < units.size(); ++i)
            (i % 2 ? odd : even) += units[i] == '\0';
        if (units.size() % 2 != 0 || (even > 0 && odd > 0) || (even + odd) * 4 < units.size())
            return false;
        appendUtf16(text, units, even > 0);
    } else {
        const bool marked = bytes.starts_with("\xEF\xBB\xBF");
        if (marked) bytes.remove_prefix(3);
        if (validUtf8(bytes)) {
            text = bytes;
        } else {
            bool lineStart = true;
            for (std::size_t i = 0; i < bytes.size(); ++i) {
                if (lineStart && bytes.substr(i).starts_with("\xEF\xBB\xBF")) {
                    text += "\xEF\xBB\xBF";
                    i += 2;
                    continue;
                }
                const char c = bytes[i];
                lineStart =
                    c == '\n' || c == '\r' || (lineStart && (c == ' ' || c == '\t' || c == '='));
                appendUtf8(text, fromWindows1252(static_cast<unsigned char>(c)));
            }
        }
    }
    return text.find('\0') == std::string::npos;
}

std::vector<Line> referenceLines(std::string_view text) {
    std::vector<Line> lines;
    while (!text.empty()) {
        // CR LF, LF and CR alone each end a line.
        const std::size_t lineEnd = text.find_first_of("\r\n");
        std::string_view line = text.substr(0, lineEnd);
        text.remove_prefix(lineEnd == std::string_view::npos          ? text.size()
                           : text.substr(lineEnd).starts_with("\r\n") ? lineEnd + 2
                                                                      : lineEnd + 1);
        // Marks before the key are passed over like blanks.
        for (;;) {
            const std::size_t at = line.find_first_not_of(" \t=");
            if (at == std::string_view::npos || !line.substr(at).starts_with("\xEF\xBB\xBF")) break;
            line.remove_prefix(at + 3);
        }

        // Even phases skip blanks and '=' before the key and before the value; phase 1 reads
        // the key, phase 3 the value. Spans are {key, value}.
        int phase = 0;
        std::size_t start[2] = {}, end[2] = {};
        for (std::size_t i = 0; i < line.size() && line[i] != '#' && line[i] != ';'; ++i) {
            const bool blank = line[i] == ' ' || line[i] == '\t';
            const bool skipped = blank || line[i] == '=';
            if (phase % 2 == 0) {
                if (skipped) continue;
                start[phase / 2] = i;
                ++phase;
            } else if (phase == 1 && skipped) {
                phase = 2;
                continue;
            }
            if (!blank) end[phase / 2] = i + 1;
        }
        if (phase > 0) {
            lines.push_back({line.substr(start[0], end[0] - start[0]),
                             line.substr(start[1], end[1] - start[1])});
        }
    }
    return lines;
}

// Reads one number of a NUL-terminated text at p and moves p past it; false where the reader
// must give no number.
bool referenceInt(const char*& p, std::int32_t& out) {
    char* end = nullptr;
    errno = 0;
    const long long n = std::strtoll(p, &end, 10);
    if (end == p) return false;
    p = end;
    if (errno == ERANGE || n < INT32_MIN || n > INT32_MAX) return false;
    out = static_cast<std::int32_t>(n);
    return true;
}

// The C library also reads hex, inf and nan, where the reader stops after the 0 or reads nothing.
bool referenceFloat(const char*& p, float& out) {
    const char* q = p;
    while (std::isspace(static_cast<unsigned char>(*q)))
        ++q;
    const bool negative = *q == '-';
    if (*q == '+' || *q == '-') ++q;
    if (*q == 'i' || *q == 'I' || *q == 'n' || *q == 'N') return false;
    if (q[0] == '0' && (q[1] == 'x' || q[1] == 'X')) {
        out = negative ? -0.0f : 0.0f;
        p = q + 1;
        return true;
    }
    char* end = nullptr;
    errno = 0;
    const float value = std::strtof(p, &end);
    if (end == p) return false;
    p = end;
    // Overflow, or underflow all the way to zero: outside the float range.
    if (errno == ERANGE && (value == 0.0f || std::isinf(value))) return false;
    out = value;
    return true;
}

template <class Number, class Read>
std::vector<Number> referenceList(std::string_view value, Read read) {
    const std::string text(value); // the C library wants a terminating NUL
    std::vector<Number> list;
    const char* p = text.c_str();
    Number n{};
    while (read(p, n))
        list.push_back(n);
    return list;
}

constexpr std::int32_t defaultInt = 0x5A5A5A5A;
constexpr float defaultX = 1234.5f;
constexpr float defaultY = -0.0f;
constexpr Rgba defaultColor{1, 2, 3, 4};

void checkAbsent(const IniEntry& entry) {
    FUZZ_CHECK(entry.absent);
    FUZZ_CHECK(entry.asString("d") == "d");
    FUZZ_CHECK(entry.asInt(defaultInt) == defaultInt);
    FUZZ_CHECK(sameFloat(entry.asFloat(defaultX), defaultX));
    FUZZ_CHECK(!entry.asBool());
    FUZZ_CHECK(entry.asIntList().empty());
    FUZZ_CHECK(entry.asFloatList().empty());
    const FloatPair pair = entry.asFloatPair(defaultX, defaultY);
    FUZZ_CHECK(sameFloat(pair.x, defaultX) && sameFloat(pair.y, defaultY));
    FUZZ_CHECK(entry.asColor(defaultColor) == defaultColor);
}

void checkEntry(const IniEntry& entry, const Line& expected) {
    FUZZ_CHECK(!entry.absent);
    FUZZ_CHECK(entry.key == expected.key);
    FUZZ_CHECK(entry.value == expected.value);
    const std::string_view value = expected.value;
    const bool quoted = value.size() >= 2 && value.front() == '"' && value.back() == '"';
    FUZZ_CHECK(entry.quoted == quoted);
    FUZZ_CHECK(entry.asString("d") == (quoted ? value.substr(1, value.size() - 2) : value));
    const bool falseWord = value.empty() || value == "0" || value == "false" || value == "FALSE" ||
                           value == "no" || value == "NO";
    FUZZ_CHECK(entry.asBool() == !falseWord);

    const std::vector<std::int32_t> ints = entry.asIntList();
    FUZZ_CHECK(ints == referenceList<std::int32_t>(value, referenceInt));
    FUZZ_CHECK(entry.asInt(defaultInt) == (ints.empty() ? defaultInt : ints[0]));
    Rgba color = defaultColor;
    std::uint8_t* components[] = {&color.r, &color.g, &color.b, &color.a};
    for (std::size_t i = 0; i < ints.size() && i < 4; ++i)
        *components[i] = static_cast<std::uint8_t>(ints[i]);
    FUZZ_CHECK(entry.asColor(defaultColor) == color);

    const std::vector<float> floats = entry.asFloatList();
    const std::vector<float> expectedFloats = referenceList<float>(value, referenceFloat);
    FUZZ_CHECK(floats.size() == expectedFloats.size());
    for (std::size_t i = 0; i < floats.size(); ++i) {
        FUZZ_CHECK(std::isfinite(floats[i]));
        FUZZ_CHECK(sameFloat(floats[i], expectedFloats[i]));
    }
    FUZZ_CHECK(sameFloat(entry.asFloat(defaultX), floats.empty() ? defaultX : floats[0]));
    const FloatPair pair = entry.asFloatPair(defaultX, defaultY);
    FUZZ_CHECK(sameFloat(pair.x, !floats.empty() ? floats[0] : defaultX));
    FUZZ_CHECK(sameFloat(pair.y, floats.size() > 1 ? floats[1] : defaultY));
}

void checkReader(const IniReader& reader, std::string_view bytes) {
    std::string text;
    if (!referenceText(bytes, text)) {
        FUZZ_CHECK(reader.entries().empty());
        FUZZ_CHECK(!isText(reader.form()));
        return;
    }
    const std::vector<Line> expected = referenceLines(text);
    const std::vector<IniEntry>& entries = reader.entries();
    FUZZ_CHECK(entries.size() == expected.size());
    std::unordered_map<std::string_view, std::size_t> firstOfKey;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        checkEntry(entries[i], expected[i]);
        firstOfKey.try_emplace(expected[i].key, i);
    }
    for (const auto& [key, first] : firstOfKey) {
        // The first line of a key wins: the same view, not merely an equal value.
        const IniEntry found = reader.find(key);
        FUZZ_CHECK(!found.absent);
        FUZZ_CHECK(found.value.data() == entries[first].value.data());
        FUZZ_CHECK(found.value.size() == entries[first].value.size());
    }
    for (std::string_view key : {"RADAR_TYPE", "HUD_SCALE", "MONEY_COLOR", "RELOAD_SETTINGS"}) {
        if (!firstOfKey.contains(key)) checkAbsent(reader.find(key));
    }
    // No line can give a key that is empty or holds a separator.
    for (std::string_view key : {"", "A=B", "A B", "#"})
        checkAbsent(reader.find(key));
}

// Another form of a single-byte text gives the same entries, line for line.
void checkTwin(const IniReader& reader, const std::string& bytes) {
    IniReader twin;
    twin.parse(bytes.data(), bytes.size());
    FUZZ_CHECK(twin.entries().size() == reader.entries().size());
    for (std::size_t i = 0; i < reader.entries().size(); ++i) {
        const IniEntry& a = reader.entries()[i];
        const IniEntry& b = twin.entries()[i];
        FUZZ_CHECK(a.key == b.key && a.value == b.value && a.text == b.text && a.line == b.line);
        FUZZ_CHECK(a.markSkipped == b.markSkipped && a.noEquals == b.noEquals &&
                   a.cutAt == b.cutAt && a.quoted == b.quoted);
    }
}

// The reader's text in each form an editor saves it in.
void checkTwins(const IniReader& reader, std::string_view bytes) {
    std::string utf8;
    if (!referenceText(bytes, utf8)) return;
    std::string little = "\xFF\xFE", big = "\xFE\xFF";
    for (std::size_t at = 0; at < utf8.size();) {
        const char32_t code = nextCodePoint(utf8, at);
        const auto add = [&](char32_t unit) {
            little += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
            big += {static_cast<char>(unit >> 8), static_cast<char>(unit & 0xFF)};
        };
        if (code < 0x10000) {
            add(code);
        } else {
            add(0xD800 + ((code - 0x10000) >> 10));
            add(0xDC00 + ((code - 0x10000) & 0x3FF));
        }
    }
    if (!utf8.starts_with("\xEF\xBB\xBF")) checkTwin(reader, utf8);
    checkTwin(reader, "\xEF\xBB\xBF" + utf8);
    checkTwin(reader, little);
    checkTwin(reader, big);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    IniReader reader;
    // A reader parsed again must keep nothing of its earlier text.
    reader.parse(text.data(), text.size() / 2);
    reader.parse(text.data(), text.size());
    checkReader(reader, text);
    if (reader.form() == TextForm::Ascii || reader.form() == TextForm::SingleBytes)
        checkTwins(reader, text);
    // Entries view the buffer, which a move hands over intact.
    const IniReader moved = std::move(reader);
    checkReader(moved, text);
    return 0;
}
