#include "config/settings_findings.h"

#include "config/hud_settings.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <type_traits>

namespace {

std::string numberText(double number) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", number);
    return text;
}

template <class Number> std::string listText(const std::vector<Number>& numbers) {
    std::string text;
    for (const Number n : numbers)
        text += (text.empty() ? "" : " ") + numberText(double(n));
    return text;
}

std::string valueText(float value) {
    return numberText(value);
}
std::string valueText(std::int32_t value) {
    return std::to_string(value);
}
std::string valueText(FloatPair pair) {
    return numberText(pair.x) + " " + numberText(pair.y);
}
std::string valueText(Rgba color) {
    return std::to_string(color.r) + " " + std::to_string(color.g) + " " + std::to_string(color.b) +
           " " + std::to_string(color.a);
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Whether one word is a number written as the HUD reads it, and nothing else.
bool plainNumber(std::string_view word, bool integer) {
    size_t at = word.empty() || (word[0] != '+' && word[0] != '-') ? 0 : 1;
    size_t digits = 0;
    while (at < word.size() && isDigit(word[at]))
        ++at, ++digits;
    if (!integer && at < word.size() && word[at] == '.') {
        ++at;
        while (at < word.size() && isDigit(word[at]))
            ++at, ++digits;
    }
    if (digits == 0) return false;
    if (!integer && at < word.size() && (word[at] == 'e' || word[at] == 'E')) {
        ++at;
        if (at < word.size() && (word[at] == '+' || word[at] == '-')) ++at;
        const size_t exponentStart = at;
        while (at < word.size() && isDigit(word[at]))
            ++at;
        if (at == exponentStart) return false;
    }
    return at == word.size();
}

// How many blank-separated words the value has that are plain numbers, up to the first that is
// not one; all tells whether every word is one.
size_t plainWords(std::string_view value, bool integers, bool& all) {
    size_t count = 0, at = 0;
    all = true;
    while (at < value.size()) {
        while (at < value.size() && (value[at] == ' ' || value[at] == '\t'))
            ++at;
        size_t end = at;
        while (end < value.size() && value[end] != ' ' && value[end] != '\t')
            ++end;
        if (end > at && !plainNumber(value.substr(at, end - at), integers)) {
            all = false;
            return count;
        }
        count += end > at ? 1 : 0;
        at = end;
    }
    return count;
}

std::string replaced(std::string_view text, char from, char to) {
    std::string result(text);
    std::replace(result.begin(), result.end(), from, to);
    return result;
}

// The words of a text, one space between each.
std::string singleSpaced(std::string_view text) {
    std::string result;
    bool blank = true;
    for (const char c : text) {
        const bool isBlank = c == ' ' || c == '\t';
        if (!isBlank) result += (blank && !result.empty() ? " " : "") + std::string(1, c);
        blank = isBlank;
    }
    return result;
}

// A colour written as #RRGGBB or #RRGGBBAA somewhere in the line, as four numbers; else empty.
std::string colorFromHex(std::string_view line) {
    const size_t hash = line.find('#');
    if (hash == std::string_view::npos) return "";
    size_t digits = 0;
    while (hash + 1 + digits < line.size() &&
           std::isxdigit(static_cast<unsigned char>(line[hash + 1 + digits])))
        ++digits;
    if (digits != 6 && digits != 8) return "";
    const std::string hex(line.substr(hash + 1, digits));
    const unsigned long value = std::stoul(hex, nullptr, 16);
    const unsigned long rgba = digits == 8 ? value : (value << 8) | 0xFF;
    return std::to_string((rgba >> 24) & 0xFF) + " " + std::to_string((rgba >> 16) & 0xFF) + " " +
           std::to_string((rgba >> 8) & 0xFF) + " " + std::to_string(rgba & 0xFF);
}

// What a key's value is made of.
struct ValueKind {
    size_t numbers; // how many it takes
    bool integers;  // whole numbers only
    bool color;     // red green blue alpha
};

// Where the effect of a built-in value is easy to state, that effect.
std::string effectOf(std::string_view key, const std::string& used) {
    if (key == "WEAP_WHEEL_SCALE_MULTIPLIER" && used == "130")
        return ": the wheel is drawn 8 px across at 1080 lines";
    return "";
}

std::string colorForm(const std::string& example) {
    return "a colour is four whole numbers 0-255, red green blue alpha, e.g. " + example;
}

void add(SettingsFileReport& report, const IniEntry& entry, bool used, std::string message) {
    report.findings.push_back(
        {report.file, entry.line, std::string(entry.text), std::move(message), used});
}

// The one note on a number value, if it is read otherwise than written or falls back.
// read: the numbers the HUD read from it; used: the value applied; builtIn: the key's default.
template <class Number>
void noteNumbers(SettingsFileReport& report, std::string_view key, const IniEntry& entry,
                 const ValueKind& kind, const std::vector<Number>& read, const std::string& used,
                 const std::string& builtIn) {
    const std::string name(key);
    const std::string written = name + " = " + std::string(entry.value);
    const std::string example = kind.color ? colorFromHex(entry.text) : "";
    const std::string form =
        kind.color ? "; " + colorForm(example.empty() ? builtIn : example) : "";
    bool allPlain = false;
    const size_t plain = plainWords(entry.value, kind.integers, allPlain);
    if (read.empty()) {
        if (entry.value.empty())
            add(report, entry, true,
                name + " holds no number the HUD can read" +
                    (entry.text.find_first_of("#;") != std::string_view::npos
                         ? " (# and ; start a comment)"
                         : "") +
                    ": it takes its built-in default " + builtIn + effectOf(key, builtIn) + form);
        else if (plain > 0)
            add(report, entry, true,
                written + " is out of range: it takes its built-in default " + builtIn +
                    effectOf(key, builtIn) + form);
        else
            add(report, entry, true,
                written + " holds no number the HUD can read: it takes its built-in default " +
                    builtIn + effectOf(key, builtIn) + form);
        return;
    }
    const std::string readText = listText(read);
    const std::string rest =
        read.size() < kind.numbers ? " (the rest take their built-in default)" : "";
    if (!allPlain) {
        bool dotted = false;
        const std::string withDots = replaced(entry.value, ',', '.');
        const size_t asDots = plainWords(withDots, kind.integers, dotted);
        bool spaced = false;
        const std::string withSpaces = replaced(entry.value, ',', ' ');
        const size_t asSpaces = plainWords(withSpaces, kind.integers, spaced);
        const bool blanks = entry.value.find_first_of(" \t") != std::string_view::npos;
        if (!kind.integers && dotted && asDots == kind.numbers && (kind.numbers == 1 || blanks))
            add(report, entry, true,
                written + " is read as " + readText + ": write " + withDots +
                    ": the decimal point is a dot; a comma ends the number");
        else if (spaced && asSpaces > 1)
            add(report, entry, true,
                written + " is read as " + readText + rest + ": write " + singleSpaced(withSpaces) +
                    ": numbers are separated by spaces; a comma ends the list");
        else if (kind.integers && plainWords(entry.value, false, dotted) > 0 && dotted)
            add(report, entry, true,
                written + " is read as " + readText + ": write whole numbers only" + form);
        else
            add(report, entry, true,
                written + " is read as " + readText + rest + ": write " + readText +
                    ": only numbers and spaces are read" + form);
        return;
    }
    if (plain > read.size())
        add(report, entry, true,
            written + " holds a number out of range: the HUD uses " + used +
                ", the rest from its built-in default" + form);
    else if (read.size() < kind.numbers)
        add(report, entry, true,
            written + " gives " + std::to_string(read.size()) + " of " +
                std::to_string(kind.numbers) + " numbers: the HUD uses " + used +
                ", the rest from its built-in default" + form);
    else if (read.size() > kind.numbers)
        add(report, entry, true,
            written + " takes " +
                (kind.numbers == 1 ? std::string("1 number")
                                   : std::to_string(kind.numbers) + " numbers") +
                ": the HUD uses " + used + " and ignores the rest");
    else if (kind.color &&
             std::any_of(read.begin(), read.end(), [](Number n) { return n < 0 || n > 255; }))
        add(report, entry, true,
            written + " is read as " + used +
                ": each number is 0-255, and the HUD keeps only its low 8 bits");
}

void noteCut(SettingsFileReport& report, const IniEntry& entry) {
    add(report, entry, true,
        std::string(entry.key) + " is cut at '" + entry.cutAt + "': the HUD reads " +
            std::string(entry.key) + " = " + std::string(entry.value) +
            "; # and ; start a comment anywhere in a line");
}

// Written as the HUD reads it: as many plain numbers as the key takes, colour parts 0-255. Checked
// first and without allocating, since almost every line is.
bool readAsWritten(std::string_view value, const ValueKind& kind) {
    bool all = false;
    if (plainWords(value, kind.integers, all) != kind.numbers || !all) return false;
    if (!kind.color) return true;
    int part = 0;
    for (const char c : value) {
        if (c == '-') return false;
        part = isDigit(c) ? std::min(part * 10 + (c - '0'), 256) : 0;
        if (part > 255) return false;
    }
    return true;
}

// The note on a number value, or the note on its cut, when it is not read as written.
template <class Value, class ReadList>
void noteNumberValue(SettingsFileReport& report, std::string_view key, const IniEntry& entry,
                     const ValueKind& kind, Value applied, Value builtIn, ReadList readList) {
    const size_t before = report.findings.size();
    if (!readAsWritten(entry.value, kind))
        noteNumbers(report, key, entry, kind, readList(), valueText(applied), valueText(builtIn));
    if (entry.cutAt && report.findings.size() == before) noteCut(report, entry);
}

std::string upper(std::string_view text) {
    std::string result(text);
    for (char& c : result)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return result;
}

// Edits (insert, delete, replace) from a to b, counted up to limit + 1. It runs for every
// unknown key against every known one, so it fills only the cells near the diagonal, stops as
// soon as a row exceeds the limit and keeps its row on the stack: no key the HUD reads comes
// near the row's length.
size_t editDistance(std::string_view a, std::string_view b, size_t limit) {
    const size_t beyond = limit + 1; // every distance past the limit is the same to a caller
    if (a.size() > b.size() + limit || b.size() > a.size() + limit) return beyond;
    std::array<size_t, 64> row;
    if (b.size() >= row.size()) return beyond;
    for (size_t j = 0; j <= b.size(); ++j)
        row[j] = std::min(j, beyond);
    // Only cells within the limit of the diagonal can lead to a distance within it.
    for (size_t i = 1; i <= a.size(); ++i) {
        const size_t first = i > limit ? i - limit : 1;
        const size_t last = std::min(b.size(), i + limit);
        size_t diagonal = row[first - 1];
        row[first - 1] = first == 1 ? std::min(i, beyond) : beyond;
        size_t smallest = row[first - 1];
        for (size_t j = first; j <= last; ++j) {
            const size_t above = row[j];
            row[j] = std::min(std::min(above, row[j - 1]) + 1, diagonal + (a[i - 1] != b[j - 1]));
            diagonal = above;
            smallest = std::min(smallest, row[j]);
        }
        if (smallest > limit) return beyond;
    }
    return std::min(row[b.size()], beyond);
}

// The known key an unknown one most likely means: the same letters in another case, else the
// nearest one or two edits away.
std::string guessOf(std::string_view key, const std::vector<std::string_view>& keys) {
    const std::string upperKey = upper(key);
    for (const std::string_view known : keys) {
        if (known == upperKey)
            return "did you mean " + std::string(known) + "? keys are upper case";
    }
    std::string_view best;
    size_t bestEdits = 3;
    for (const std::string_view known : keys) {
        const size_t edits = editDistance(upperKey, known, 2);
        if (edits < bestEdits) best = known, bestEdits = edits;
    }
    if (best.empty()) return "";
    return "did you mean " + std::string(best) + "?" +
           (upperKey != key && editDistance(upperKey, best, 2) < editDistance(key, best, 2)
                ? " keys are upper case"
                : "");
}

} // namespace

void startReport(SettingsFileReport& report, const char* file, SettingsFileState state,
                 const IniReader& reader) {
    report.file = file;
    report.form = reader.form();
    report.findings.clear();
    const TextForm form = reader.form();
    const char* why = state == SettingsFileState::Missing      ? "is missing"
                      : state == SettingsFileState::Unreadable ? "cannot be read"
                      : form == TextForm::Empty                ? "is empty"
                      : form == TextForm::TooLarge             ? "is too large to be read"
                      : form == TextForm::Utf16WithoutMark
                          ? "is UTF-16 without a byte-order mark, which the HUD cannot read"
                      : form == TextForm::Utf32 ? "is UTF-32, which the HUD cannot read"
                      : form == TextForm::NotText
                          ? "is no text file (it holds NUL bytes), which the HUD cannot read"
                          : nullptr;
    if (state == SettingsFileState::Busy) {
        report.findings.push_back({file, 0, "",
                                   std::string(file) +
                                       " cannot be read now (a program holds it, or it is being "
                                       "saved): the HUD keeps the settings in use and reads it "
                                       "again on the next frame",
                                   false});
        return;
    }
    if (!why) return;
    const bool encoding =
        state == SettingsFileState::Read && (form == TextForm::Utf16WithoutMark ||
                                             form == TextForm::Utf32 || form == TextForm::NotText);
    report.findings.push_back({file, 0, "",
                               std::string(file) + " " + why +
                                   ": the HUD draws every key of it with its built-in default" +
                                   (encoding ? "; save it as UTF-8" : ""),
                               false});
}

void noteValue(SettingsFileReport& report, std::string_view, const IniEntry& entry,
               const std::string&, const std::string&) {
    if (entry.cutAt) noteCut(report, entry);
}

void noteValue(SettingsFileReport& report, std::string_view key, const IniEntry& entry,
               FloatPair applied, FloatPair builtIn) {
    noteNumberValue(report, key, entry, {2, false, false}, applied, builtIn,
                    [&] { return entry.asFloatList(); });
}

void noteValue(SettingsFileReport& report, std::string_view key, const IniEntry& entry,
               float applied, float builtIn) {
    // The weapon wheel replaces a multiplier that is not above 0 where it draws.
    const float used =
        key == "WEAP_WHEEL_SCALE_MULTIPLIER" ? wheelScaleMultiplier(applied) : applied;
    if (used != applied && !entry.asFloatList().empty())
        add(report, entry, true,
            std::string(key) + " = " + std::string(entry.value) +
                " must be above 0: it takes its built-in default " + valueText(used) +
                effectOf(key, valueText(used)));
    else
        noteNumberValue(report, key, entry, {1, false, false}, applied, builtIn,
                        [&] { return entry.asFloatList(); });
}

void noteValue(SettingsFileReport& report, std::string_view key, const IniEntry& entry,
               std::int32_t applied, std::int32_t builtIn) {
    noteNumberValue(report, key, entry, {1, true, false}, applied, builtIn,
                    [&] { return entry.asIntList(); });
}

void noteValue(SettingsFileReport& report, std::string_view key, const IniEntry& entry,
               bool applied, bool) {
    const std::string lower = [&] {
        std::string text(entry.value);
        for (char& c : text)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return text;
    }();
    if (applied && (lower == "off" || lower == "false" || lower == "no" || lower == "none"))
        add(report, entry, true,
            std::string(key) + " = " + std::string(entry.value) +
                " is read as on: only 0, false, FALSE, no, NO or no value at all are off");
    else if (entry.cutAt)
        noteCut(report, entry);
}

void noteValue(SettingsFileReport& report, std::string_view key, const IniEntry& entry,
               Rgba applied, Rgba builtIn) {
    noteNumberValue(report, key, entry, {4, true, true}, applied, builtIn,
                    [&] { return entry.asIntList(); });
}

void finishReport(SettingsFileReport& report, const IniReader& reader, bool layout,
                  const char* otherFile) {
    std::vector<std::string_view> keys, otherKeys;
    for (const IniEntry& entry : reader.entries()) {
        if (entry.used) {
            if (entry.markSkipped)
                add(report, entry, true,
                    "the line begins with a byte-order mark, as where two files were joined: "
                    "the HUD skips the mark and reads " +
                        std::string(entry.key) + " = " + std::string(entry.value));
            if (entry.noEquals)
                add(report, entry, true,
                    std::string(entry.key) + " has no '=': the HUD reads it as " +
                        std::string(entry.key) + " = " + std::string(entry.value) +
                        "; write it so");
            continue;
        }
        if (keys.empty()) keys = keysOfFile(layout), otherKeys = keysOfFile(!layout);
        const std::string key(entry.key);
        if (std::find(keys.begin(), keys.end(), entry.key) != keys.end()) {
            const IniEntry first = reader.find(entry.key);
            add(report, entry, false,
                key + " is set again: the HUD uses line " + std::to_string(first.line) + ", " +
                    key + " = " + std::string(first.value) + ", and ignores this one");
        } else if (std::find(otherKeys.begin(), otherKeys.end(), entry.key) != otherKeys.end()) {
            add(report, entry, false,
                key + " is read from " + otherFile + " only: ignored here; write it there");
        } else {
            const std::string guess = guessOf(entry.key, keys);
            add(report, entry, false,
                key + " is no key the HUD reads: ignored" + (guess.empty() ? "" : "; " + guess));
        }
    }
    std::stable_sort(
        report.findings.begin(), report.findings.end(),
        [](const SettingsFinding& a, const SettingsFinding& b) { return a.line < b.line; });
}

std::vector<std::string_view> keysOfFile(bool layout) {
    std::vector<std::string_view> keys;
    if (layout) {
        forEachSettingsField([&](std::string_view key, auto) { keys.push_back(key); });
        keys.push_back("RELOAD_SETTINGS");
    } else {
        forEachColorField([&](std::string_view key, auto) { keys.push_back(key); });
    }
    return keys;
}

const char* textFormName(TextForm form) {
    switch (form) {
    case TextForm::Utf8:
        return "UTF-8";
    case TextForm::Utf8WithMark:
        return "UTF-8 with a byte-order mark";
    case TextForm::Utf16LittleEndian:
        return "UTF-16, little endian";
    case TextForm::Utf16BigEndian:
        return "UTF-16, big endian";
    case TextForm::SingleBytes:
        return "single bytes, each one character (Latin-1)";
    default:
        return nullptr;
    }
}

std::vector<SettingsFinding> findSettingsFindings(const std::string& gameDirectory) {
    std::vector<SettingsFinding> findings;
    HudSettings settings;
    SettingsFileReport report;
    const auto read = [&](const char* file, auto apply) {
        IniReader reader;
        const bool opened = reader.load((gameDirectory + file).c_str());
        startReport(report, file, opened ? SettingsFileState::Read : SettingsFileState::Unreadable,
                    reader);
        apply(reader);
        findings.insert(findings.end(), report.findings.begin(), report.findings.end());
    };
    read(layoutFile, [&](const IniReader& reader) { readLayout(settings, reader, &report); });
    read(colorFileFor(settings.RADAR_TYPE),
         [&](const IniReader& reader) { readColors(settings.colors, reader, &report); });
    return findings;
}
