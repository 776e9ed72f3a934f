#pragma once
// Changes one value of a settings file as a modder would by hand: the bytes of the value the HUD
// reads, and nothing else of the file.
#include <cstdint>
#include <string>
#include <string_view>

enum class IniWriteOutcome : std::uint8_t {
    Replaced, // the value of the line the HUD takes the key from
    Added,    // a new line: after the key's commented example, else its group, else at the end
    NotText,  // the reader takes no settings from these bytes
    // The file holds bytes its encoding cannot give back as they are (a lone UTF-16 surrogate,
    // a byte no UTF-8 sequence holds in a UTF-8 file): writing it would change them.
    BytesNotKept,
    KeyNotWritable,   // empty, or holding a blank, '=', '#', ';' or a line end
    ValueNotWritable, // the HUD would not read it back as given, or the encoding lacks a letter
};

// The file after a write: the given bytes unchanged when the write was refused.
struct IniWrite {
    IniWriteOutcome outcome = IniWriteOutcome::NotText;
    std::string bytes;
    int line = 0; // the line now holding the value, counted from 1; 0 when refused
};

bool applied(const IniWrite& write);
// Why a write was refused (or what it did), as a modder reads it.
std::string_view describe(IniWriteOutcome outcome);

// fileBytes with key's value set to value (UTF-8, as it stands between '=' and the line's end or
// comment; a quoted value keeps its quotes around it). The line changed is the one the reader
// takes the key from: the first that sets it. The file keeps its encoding, mark, line ends and
// the NUL bytes after its text; a line added takes the file's own line end and the spacing
// around '=' of the line it follows.
IniWrite withIniValue(std::string_view fileBytes, std::string_view key, std::string_view value);

// A number as a modder writes it: the shortest decimal text that reads back as the same float,
// without exponent ("312.5", "0.44", "-3"). Empty for infinity and NaN, which no value holds.
std::string numberText(float value);
