#include "config/ini_value_writer.h"

#include "config/ini_reader.h"
#include "config/utf8_files.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <vector>

namespace {

enum class Encoding : std::uint8_t { Utf8, Utf16LittleEndian, Utf16BigEndian, Windows1252 };

// How the reader's UTF-8 text stands in the file: encoded, after a mark of markSize bytes, in
// textSize bytes that only NUL bytes follow.
struct FileShape {
    Encoding encoding = Encoding::Utf8;
    std::size_t markSize = 0;
    std::size_t textSize = 0;
};

void appendUnit(std::string& out, char32_t unit, bool littleEndian) {
    const char low = static_cast<char>(unit & 0xFF);
    const char high = static_cast<char>(unit >> 8);
    out += littleEndian ? low : high;
    out += littleEndian ? high : low;
}

std::optional<char> windows1252Byte(char32_t code) {
    if (code < 0x80 || (code >= 0xA0 && code < 0x100)) return static_cast<char>(code);
    for (unsigned byte = 0x80; byte < 0xA0; ++byte) {
        if (fromWindows1252(static_cast<unsigned char>(byte)) == code)
            return static_cast<char>(byte);
    }
    return std::nullopt;
}

// UTF-8 text in the file's encoding; false when a character has no form in it.
bool encode(std::string& out, std::string_view utf8, Encoding encoding) {
    if (encoding == Encoding::Utf8) {
        out += utf8;
        return validUtf8(utf8);
    }
    for (std::size_t at = 0; at < utf8.size();) {
        const std::size_t start = at;
        const char32_t code = nextCodePoint(utf8, at);
        if (code == 0xFFFD && utf8.substr(start, at - start) != "\xEF\xBF\xBD") return false;
        if (encoding == Encoding::Windows1252) {
            // The reader keeps a mark before a key (two files joined) as it is.
            if (code == 0xFEFF) {
                out += "\xEF\xBB\xBF";
                continue;
            }
            const std::optional<char> byte = windows1252Byte(code);
            if (!byte) return false;
            out += *byte;
            continue;
        }
        const bool littleEndian = encoding == Encoding::Utf16LittleEndian;
        if (code < 0x10000) {
            appendUnit(out, code, littleEndian);
        } else {
            appendUnit(out, 0xD800 + ((code - 0x10000) >> 10), littleEndian);
            appendUnit(out, 0xDC00 + ((code - 0x10000) & 0x3FF), littleEndian);
        }
    }
    return true;
}

// The shape under which the reader's text gives back the file's bytes exactly (only NUL bytes
// after it); none when no shape does.
std::optional<FileShape> shapeOf(std::string_view bytes, const IniReader& reader) {
    std::vector<FileShape> candidates;
    switch (reader.form()) {
    case TextForm::Ascii:
    case TextForm::Utf8:
        candidates = {{Encoding::Utf8, 0}};
        break;
    case TextForm::Utf8WithMark:
        candidates = {{Encoding::Utf8, 3}};
        break;
    case TextForm::Empty:
        candidates = {{Encoding::Utf8, bytes.starts_with("\xEF\xBB\xBF") ? 3u : 0u}};
        break;
    case TextForm::Utf16LittleEndian:
        candidates = {{Encoding::Utf16LittleEndian, 2}};
        break;
    case TextForm::Utf16BigEndian:
        candidates = {{Encoding::Utf16BigEndian, 2}};
        break;
    case TextForm::Utf16WithoutMark:
        candidates = {{Encoding::Utf16LittleEndian, 0}, {Encoding::Utf16BigEndian, 0}};
        break;
    case TextForm::SingleBytes:
        candidates = {{Encoding::Windows1252, 0}};
        break;
    default:
        break;
    }
    for (FileShape& shape : candidates) {
        std::string text;
        if (!encode(text, reader.text(), shape.encoding)) continue;
        const std::string_view rest = bytes.substr(std::min(shape.markSize, bytes.size()));
        shape.textSize = text.size();
        if (rest.starts_with(text) &&
            rest.find_first_not_of('\0', text.size()) == std::string_view::npos)
            return shape;
    }
    return std::nullopt;
}

// One line of the text, as the reader splits them: CR LF, LF or CR ends it.
struct TextLine {
    std::size_t start;
    std::size_t end;  // where its line end starts
    std::size_t next; // past its line end
};

std::vector<TextLine> linesOf(std::string_view text) {
    std::vector<TextLine> lines;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = std::min(text.find_first_of("\r\n", at), text.size());
        std::size_t next = end;
        if (next < text.size()) next += text.substr(next, 2) == "\r\n" ? 2 : 1;
        lines.push_back({at, end, next});
        at = next;
    }
    return lines;
}

std::string_view lineEndOf(std::string_view text) {
    const std::size_t at = text.find_first_of("\r\n");
    if (at == std::string_view::npos) return "\r\n"; // what Windows editors write
    if (text.substr(at, 2) == "\r\n") return "\r\n";
    return text.substr(at, 1);
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// The blanks and '=' after a key, as its line spaces them; " = " when they hold no '='.
std::string_view separatorAfterKey(std::string_view rest) {
    std::size_t size = 0;
    while (size < rest.size() && (isBlank(rest[size]) || rest[size] == '='))
        ++size;
    const std::string_view separator = rest.substr(0, size);
    return separator.find('=') == std::string_view::npos ? " = " : separator;
}

// The text after the key when the line is a commented example of it ("# KEY = 116", ";KEY=1").
std::optional<std::string_view> exampleOf(std::string_view line, std::string_view key) {
    const std::size_t comment = line.find_first_not_of(" \t");
    if (comment == std::string_view::npos || (line[comment] != '#' && line[comment] != ';'))
        return std::nullopt;
    line.remove_prefix(std::min(line.find_first_not_of("#; \t", comment), line.size()));
    if (!line.starts_with(key)) return std::nullopt;
    const std::string_view rest = line.substr(key.size());
    const std::size_t equals = rest.find_first_not_of(" \t");
    if (equals == std::string_view::npos || rest[equals] != '=') return std::nullopt;
    return rest;
}

// How many leading '_'-separated words two keys share: MONEY_POS_TOP and MONEY_SCALE share one.
std::size_t sharedWords(std::string_view a, std::string_view b) {
    std::size_t words = 0;
    for (std::size_t at = 0;;) {
        const std::size_t endA = std::min(a.find('_', at), a.size());
        const std::size_t endB = std::min(b.find('_', at), b.size());
        if (endA == at || endA != endB || a.substr(at, endA - at) != b.substr(at, endB - at))
            return words;
        ++words;
        if (endA == a.size() || endB == b.size()) return words;
        at = endA + 1;
    }
}

bool keyWritable(std::string_view key) {
    return !key.empty() && validUtf8(key) && !key.starts_with("\xEF\xBB\xBF") &&
           key.find_first_of(std::string_view(" \t=#;\r\n\0", 9)) == std::string_view::npos;
}

// Where a line for a key the file lacks goes: after the line of index anchor, else (none) at
// the end; separator is the spacing around '=' to give it.
struct Insertion {
    std::optional<std::size_t> anchor;
    std::string_view separator = " = ";
};

Insertion insertionFor(std::string_view text, const std::vector<TextLine>& lines,
                       const IniReader& reader, std::string_view key) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = text.substr(lines[i].start, lines[i].end - lines[i].start);
        if (const auto rest = exampleOf(line, key)) return {i, separatorAfterKey(*rest)};
    }
    // The end of its group: the last line of the keys sharing the most leading words with it.
    Insertion insertion;
    std::size_t mostShared = 0;
    for (const IniEntry& entry : reader.entries()) {
        const std::size_t shared = sharedWords(key, entry.key);
        if (shared == 0 || shared < mostShared) continue;
        mostShared = shared;
        const std::size_t keyEnd =
            static_cast<std::size_t>(entry.key.data() - entry.text.data()) + entry.key.size();
        insertion = {static_cast<std::size_t>(entry.line - 1),
                     separatorAfterKey(entry.text.substr(keyEnd))};
    }
    return insertion;
}

// The text with a line for the key added.
std::string withLineAdded(std::string_view text, const IniReader& reader, std::string_view key,
                          std::string_view value) {
    const std::vector<TextLine> lines = linesOf(text);
    const Insertion insertion = insertionFor(text, lines, reader, key);
    const std::string_view lineEnd = lineEndOf(text);
    const std::string line =
        std::string(key) + std::string(insertion.separator) + std::string(value);
    std::string result(text);
    const TextLine* after = insertion.anchor ? &lines[*insertion.anchor]
                            : lines.empty()  ? nullptr
                                             : &lines.back();
    if (after == nullptr) return line + std::string(lineEnd);
    // After a line without a line end (the file's last), the new line ends the file likewise.
    if (after->next == after->end) return result.insert(after->end, std::string(lineEnd) + line);
    return result.insert(after->next, line + std::string(lineEnd));
}

// The text with the entry's value replaced.
std::string withValueReplaced(std::string_view text, const IniEntry& entry,
                              std::string_view value) {
    const std::size_t start = static_cast<std::size_t>(entry.value.data() - text.data());
    std::string written = entry.quoted ? "\"" + std::string(value) + "\"" : std::string(value);
    if (entry.value.empty() && !written.empty()) {
        // "KEY" or "KEY =# note": the value needs its '=' and to stand apart from the comment.
        const std::size_t keyEnd =
            static_cast<std::size_t>(entry.key.data() - text.data()) + entry.key.size();
        const std::string_view gap = text.substr(keyEnd, start - keyEnd);
        if (gap.find('=') == std::string_view::npos) written.insert(0, gap.empty() ? " = " : "= ");
        if (start < text.size() && (text[start] == '#' || text[start] == ';')) written += ' ';
    }
    return std::string(text.substr(0, start)) + written +
           std::string(text.substr(start + entry.value.size()));
}

IniWrite refused(std::string_view bytes, IniWriteOutcome why) {
    return {why, std::string(bytes), 0};
}

} // namespace

bool applied(const IniWrite& write) {
    return write.outcome == IniWriteOutcome::Replaced || write.outcome == IniWriteOutcome::Added;
}

std::string_view describe(IniWriteOutcome outcome) {
    switch (outcome) {
    case IniWriteOutcome::Replaced:
        return "value replaced";
    case IniWriteOutcome::Added:
        return "line added";
    case IniWriteOutcome::NotText:
        return "the file is not text the HUD reads: left as it is";
    case IniWriteOutcome::BytesNotKept:
        return "the file holds bytes its encoding cannot write back: left as it is";
    case IniWriteOutcome::KeyNotWritable:
        return "a key is one word without blanks, '=', '#' or ';'";
    case IniWriteOutcome::ValueNotWritable:
        return "the HUD would not read that value back as written (a '#', ';' or line end, "
               "blanks around it, or a letter the file's encoding lacks)";
    }
    return "";
}

IniWrite withIniValue(std::string_view fileBytes, std::string_view key, std::string_view value) {
    IniReader reader;
    reader.parse(fileBytes.data(), fileBytes.size());
    if (!isText(reader.form()) && reader.form() != TextForm::Empty)
        return refused(fileBytes, IniWriteOutcome::NotText);
    const std::optional<FileShape> shape = shapeOf(fileBytes, reader);
    if (!shape) return refused(fileBytes, IniWriteOutcome::BytesNotKept);
    if (!keyWritable(key)) return refused(fileBytes, IniWriteOutcome::KeyNotWritable);

    const std::string_view text = reader.text();
    const IniEntry entry = reader.find(key);
    const std::string newText = entry.absent ? withLineAdded(text, reader, key, value)
                                             : withValueReplaced(text, entry, value);

    // The text is encoded between the file's mark and its NUL bytes as it was, which gives back
    // the file's bytes (shapeOf): every byte outside the change stays as it is.
    IniWrite write{entry.absent ? IniWriteOutcome::Added : IniWriteOutcome::Replaced,
                   std::string(fileBytes.substr(0, shape->markSize)), 0};
    if (!encode(write.bytes, newText, shape->encoding))
        return refused(fileBytes, IniWriteOutcome::ValueNotWritable);
    write.bytes += fileBytes.substr(shape->markSize + shape->textSize);

    // The HUD reads the new file as the same text but for the value, and the value as given.
    IniReader check;
    check.parse(write.bytes.data(), write.bytes.size());
    const IniEntry written = check.find(key);
    const std::string_view readBack = entry.quoted ? written.asString("") : written.value;
    if (check.text() != newText || written.absent || readBack != value)
        return refused(fileBytes, IniWriteOutcome::ValueNotWritable);
    write.line = written.line;
    return write;
}

std::string numberText(float value) {
    if (!std::isfinite(value)) return {};
    // The smallest float takes about 50 digits after the point.
    char digits[128];
    const auto result = std::to_chars(std::begin(digits), std::end(digits), value == 0 ? 0 : value,
                                      std::chars_format::fixed);
    return std::string(digits, result.ptr);
}
