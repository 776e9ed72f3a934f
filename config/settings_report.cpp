#include "config/settings_report.h"

#include "config/value_rules.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <type_traits>
#include <utility>

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

std::string colorForm(const std::string& example) {
    return "a colour is four whole numbers 0-255, red green blue alpha, e.g. " + example;
}

// How a number value is read otherwise than written, or falls back.
enum class NumberFault {
    None,
    NoValue,         // nothing after the '='
    OutOfRange,      // plain numbers, none of which fits
    Unreadable,      // no number at all
    DecimalComma,    // decimals written with commas
    PairOrDecimal,   // one number with a comma in it where the key takes two: a list or a decimal
    OneNumberOnly,   // more numbers, separated by commas, where the key takes one
    CommaSeparated,  // numbers separated by commas
    NotWhole,        // a decimal where whole numbers are read
    OtherCharacters, // something beside numbers and spaces
    PartOutOfRange,  // plain numbers, one of which does not fit
    TooFew,          // fewer numbers than the key takes
    TooMany,         // more numbers than the key takes
    ColorPartNotByte // a colour part outside 0-255
};

// What is wrong with a number value. read: the numbers the HUD read from it.
template <class Number>
NumberFault classifyNumbers(const IniEntry& entry, const ValueKind& kind,
                            const std::vector<Number>& read) {
    bool allPlain = false;
    const size_t plain = plainWords(entry.value, kind.integers, allPlain);
    if (read.empty()) {
        if (entry.value.empty()) return NumberFault::NoValue;
        return plain > 0 ? NumberFault::OutOfRange : NumberFault::Unreadable;
    }
    if (!allPlain) {
        bool dotted = false;
        bool spaced = false;
        const std::string withSpaces = replaced(entry.value, ',', ' ');
        const size_t asSpaces = plainWords(withSpaces, kind.integers, spaced);
        if (!kind.integers && !withDecimalPoints(entry.value, kind.numbers).empty())
            return NumberFault::DecimalComma;
        if (!kind.integers && kind.numbers == 2 && !withDecimalPoints(entry.value, 1).empty())
            return NumberFault::PairOrDecimal;
        if (spaced && asSpaces > kind.numbers && kind.numbers == 1)
            return NumberFault::OneNumberOnly;
        if (spaced && asSpaces > 1) return NumberFault::CommaSeparated;
        if (kind.integers && plainWords(entry.value, false, dotted) > 0 && dotted)
            return NumberFault::NotWhole;
        return NumberFault::OtherCharacters;
    }
    if (plain > read.size()) return NumberFault::PartOutOfRange;
    if (read.size() < kind.numbers) return NumberFault::TooFew;
    if (read.size() > kind.numbers) return NumberFault::TooMany;
    if (kind.color &&
        std::any_of(read.begin(), read.end(), [](Number n) { return n < 0 || n > 255; }))
        return NumberFault::ColorPartNotByte;
    return NumberFault::None;
}

// A decimal as written with a dot, without the zeros that end its fraction: "60.50" is 60.5.
std::string withoutTrailingZeros(std::string decimal) {
    const size_t point = decimal.find('.');
    if (point == std::string::npos) return decimal;
    const size_t last = decimal.find_last_not_of('0');
    decimal.erase(std::max(last, point + 1) + 1);
    return decimal;
}

// Every number written in a value, as written and wherever it stands, and the words glued to
// the end of one: "40px 400px" holds 40 and 400, and px.
struct NumbersWritten {
    std::vector<std::string> numbers;
    std::vector<std::string> glued;
};

NumbersWritten numbersWritten(std::string_view value) {
    NumbersWritten found;
    const auto digitAt = [&](size_t at) { return at < value.size() && isDigit(value[at]); };
    const auto skipDigits = [&](size_t at) {
        while (digitAt(at))
            ++at;
        return at;
    };
    for (size_t at = 0; at < value.size();) {
        const bool sign = (value[at] == '-' || value[at] == '+') &&
                          (digitAt(at + 1) || (value.substr(at + 1, 1) == "." && digitAt(at + 2)));
        if (!sign && !digitAt(at) && !(value[at] == '.' && digitAt(at + 1))) {
            ++at;
            continue;
        }
        size_t end = skipDigits(at + (sign ? 1 : 0));
        if (end < value.size() && value[end] == '.') end = skipDigits(end + 1);
        if (end + 1 < value.size() && (value[end] == 'e' || value[end] == 'E')) {
            const size_t exponent = end + 1 + (value[end + 1] == '-' || value[end + 1] == '+');
            if (digitAt(exponent)) end = skipDigits(exponent);
        }
        found.numbers.emplace_back(value.substr(at, end - at));
        size_t word = end;
        while (word < value.size() &&
               (std::isalpha(static_cast<unsigned char>(value[word])) || value[word] == '%'))
            ++word;
        const std::string glued(value.substr(end, word - end));
        if (!glued.empty() &&
            std::find(found.glued.begin(), found.glued.end(), glued) == found.glued.end())
            found.glued.push_back(glued);
        at = word;
    }
    return found;
}

// "'px'", "'px' and '%'": the words glued to numbers, as a finding names them.
std::string quotedList(const std::vector<std::string>& words) {
    std::string text;
    for (size_t i = 0; i < words.size(); ++i)
        text += (i == 0 ? "" : i + 1 == words.size() ? " and " : ", ") + ("'" + words[i] + "'");
    return text;
}

// The advice on a value with other characters among its numbers: every number it holds, and
// the words glued to them named.
std::string otherCharactersAdvice(std::string_view value, const std::string& readText) {
    const NumbersWritten written = numbersWritten(value);
    std::string numbers;
    for (const std::string& number : written.numbers)
        numbers += (numbers.empty() ? "" : " ") + number;
    return "write " + (numbers.empty() ? readText : numbers) + ": " +
           (written.glued.empty()
                ? std::string()
                : quotedList(written.glued) + " after a number " +
                      (written.glued.size() == 1 ? "is" : "are") + " not read; ") +
           "only numbers and spaces are read";
}

// The message on a number value's fault. read: the numbers the HUD read from it; used: the
// value applied; builtIn: the key's default.
template <class Number>
std::string numberMessage(std::string_view key, const IniEntry& entry, const ValueKind& kind,
                          NumberFault fault, const std::vector<Number>& read,
                          const std::string& used, const std::string& builtIn) {
    const std::string name(key);
    const std::string written = name + " = " + std::string(entry.value);
    const std::string example = kind.color ? colorFromHex(entry.text) : "";
    const std::string form =
        kind.color ? "; " + colorForm(example.empty() ? builtIn : example) : "";
    const std::string readText = listText(read);
    const std::string rest =
        read.size() < kind.numbers ? " (the rest take their built-in default)" : "";
    switch (fault) {
    case NumberFault::None:
        return "";
    case NumberFault::NoValue:
        return name + " holds no number the HUD can read" +
               (entry.text.find_first_of("#;") != std::string_view::npos
                    ? " (# and ; start a comment)"
                    : "") +
               ": it takes its built-in default " + builtIn + form;
    case NumberFault::OutOfRange:
        return written + " is out of range: it takes its built-in default " + builtIn + form;
    case NumberFault::Unreadable:
        return written + " holds no number the HUD can read: it takes its built-in default " +
               builtIn + form;
    case NumberFault::DecimalComma:
        return written + " is read as " + readText + rest + ": write " +
               withDecimalPoints(entry.value, kind.numbers) + ": the decimal point is a dot";
    case NumberFault::PairOrDecimal: {
        // Both readings: the list the HUD reads, and the decimal a comma-decimal locale means.
        const std::string decimal = withoutTrailingZeros(withDecimalPoints(entry.value, 1));
        const std::string pair = singleSpaced(replaced(entry.value, ',', ' '));
        return written + " is read as " + used +
               ": the comma ends the list and the second number takes its built-in default; "
               "for two numbers write " +
               pair + ", for the decimal " + decimal + " write " + decimal + " " +
               used.substr(used.find(' ') + 1);
    }
    case NumberFault::OneNumberOnly:
        return written + " is read as " + readText + ": write " + readText + ": " + name +
               " takes one " + (kind.integers ? "whole " : "") + "number";
    case NumberFault::CommaSeparated:
        return written + " is read as " + readText + rest + ": write " +
               singleSpaced(replaced(entry.value, ',', ' ')) +
               ": numbers are separated by spaces; a comma ends the list";
    case NumberFault::NotWhole:
        return written + " is read as " + readText + ": write whole numbers only" + form;
    case NumberFault::OtherCharacters:
        return written + " is read as " + readText + rest + ": " +
               otherCharactersAdvice(entry.value, readText) + form;
    case NumberFault::PartOutOfRange:
        return written + " holds a number out of range: the HUD uses " + used +
               ", the rest from its built-in default" + form;
    case NumberFault::TooFew:
        return written + " gives " + std::to_string(read.size()) + " of " +
               std::to_string(kind.numbers) + " numbers: the HUD uses " + used +
               ", the rest from its built-in default" + form;
    case NumberFault::TooMany:
        return written + " takes " +
               (kind.numbers == 1 ? std::string("1 number")
                                  : std::to_string(kind.numbers) + " numbers") +
               ": the HUD uses " + used + " and ignores the rest";
    case NumberFault::ColorPartNotByte:
        return written + " is read as " + used +
               ": each number is 0-255, and the HUD keeps only its low 8 bits";
    }
    return "";
}

// The one note on a number value, if it is read otherwise than written or falls back.
template <class Number>
void noteNumbers(SettingsFileReport& report, std::string_view key, const IniEntry& entry,
                 const ValueKind& kind, const std::vector<Number>& read, const std::string& used,
                 const std::string& builtIn) {
    const NumberFault fault = classifyNumbers(entry, kind, read);
    if (fault != NumberFault::None)
        addFinding(report, entry, true,
                   numberMessage(key, entry, kind, fault, read, used, builtIn));
}

void noteCut(SettingsFileReport& report, const IniEntry& entry) {
    addFinding(report, entry, true,
               std::string(entry.key) + " is cut at '" + entry.cutAt + "': the HUD reads " +
                   std::string(entry.key) + " = " + std::string(entry.value) +
                   "; # and ; start a comment anywhere in a line");
}

// Written as the HUD reads it: as many plain numbers as the key takes, colour parts 0-255. Checked
// first and without allocating, since almost every line is.
// Whether each blank-separated word, a plain number, fits the type the HUD reads it into.
bool everyWordInRange(std::string_view value, bool integers) {
    for (size_t at = 0; at < value.size();) {
        const size_t end = std::min(value.find_first_of(" \t", at), value.size());
        const char* first = value.data() + at + (value[at] == '+' ? 1 : 0);
        const char* last = value.data() + end;
        std::int32_t whole = 0;
        float decimal = 0;
        const std::errc error = integers ? std::from_chars(first, last, whole).ec
                                         : std::from_chars(first, last, decimal).ec;
        if (end > at && error != std::errc{}) return false;
        at = end + 1;
    }
    return true;
}

bool readAsWritten(std::string_view value, const ValueKind& kind) {
    bool all = false;
    if (plainWords(value, kind.integers, all) != kind.numbers || !all) return false;
    if (!everyWordInRange(value, kind.integers)) return false;
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

} // namespace

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

void addFinding(SettingsFileReport& report, const IniEntry& entry, bool used, std::string message) {
    report.findings.push_back(
        {report.file, entry.line, std::string(entry.text), std::move(message), used});
}

void startReport(SettingsFileReport& report, const char* file, SettingsFileState state,
                 const IniReader& reader) {
    report.file = file;
    report.form = reader.form();
    report.findings.clear();
    const TextForm form = reader.form();
    const std::string_view name = file;
    const std::string besideTxt = state != SettingsFileState::MissingBesideTxt
                                      ? std::string()
                                      : "is missing, but " + std::string(name) +
                                            ".txt is there: an editor added .txt, " +
                                            "which Windows hides; rename it to " +
                                            std::string(name.substr(name.rfind('\\') + 1));
    const char* why = state == SettingsFileState::Missing            ? "is missing"
                      : state == SettingsFileState::MissingBesideTxt ? besideTxt.c_str()
                      : state == SettingsFileState::Unreadable       ? "cannot be read"
                      : form == TextForm::Empty                      ? "is empty"
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
    if (form == TextForm::Utf16WithoutMark)
        report.findings.push_back(
            {file, 0, "",
             std::string(file) +
                 " is UTF-16 without a byte-order mark: the HUD reads it as UTF-16, told by its "
                 "NUL bytes; save it as UTF-8, or as UTF-16 with its mark",
             true});
    if (reader.nulBytesAfterLine() > 0) {
        const std::string line = std::to_string(reader.nulBytesAfterLine());
        report.findings.push_back({file, 0, "",
                                   std::string(file) + " ends in NUL bytes after line " + line +
                                       ": the HUD reads the text before them; remove the NUL "
                                       "bytes after line " +
                                       line,
                                   true});
    }
    if (form == TextForm::TooLarge) {
        report.findings.push_back({file, 0, "",
                                   std::string(file) +
                                       " is too large to be read (over 16 MB): the HUD keeps the "
                                       "settings in use until it changes",
                                   false});
        return;
    }
    if (!why) return;
    const bool read = state == SettingsFileState::Read;
    report.findings.push_back(
        {file, 0, "",
         std::string(file) + " " + why +
             ": the HUD draws every key of it with its built-in default" +
             (read && form == TextForm::Utf32 ? "; save it as UTF-8" : "") +
             (read && form == TextForm::NotText ? "; remove the NUL bytes from it" : ""),
         false});
}

void noteValue(SettingsFileReport& report, std::string_view, const IniEntry& entry,
               const std::string&, const std::string&) {
    if (entry.cutAt) noteCut(report, entry);
}

namespace {
// The numbers read from a value of decimals, which may be written with commas.
std::vector<float> decimalsRead(const IniEntry& entry, size_t numbers) {
    const std::string decimals = withDecimalPoints(entry.value, numbers);
    return decimals.empty() ? entry.asFloatList() : valueRead(entry, decimals).asFloatList();
}
} // namespace

void noteValue(SettingsFileReport& report, std::string_view key, const IniEntry& entry,
               FloatPair applied, FloatPair builtIn) {
    noteNumberValue(report, key, entry, {2, false, false}, applied, builtIn,
                    [&] { return decimalsRead(entry, 2); });
}

void noteValue(SettingsFileReport& report, std::string_view key, const IniEntry& entry,
               float applied, float builtIn) {
    // The weapon wheel replaces a multiplier that is not above 0 where it draws.
    const float used =
        key == "WEAP_WHEEL_SCALE_MULTIPLIER" ? wheelScaleMultiplier(applied) : applied;
    if (used != applied && !entry.asFloatList().empty())
        addFinding(report, entry, true,
                   std::string(key) + " = " + std::string(entry.value) +
                       " must be above 0: it takes its built-in default " + valueText(used));
    else
        noteNumberValue(report, key, entry, {1, false, false}, applied, builtIn,
                        [&] { return decimalsRead(entry, 1); });
}

void noteValue(SettingsFileReport& report, std::string_view key, const IniEntry& entry,
               std::int32_t applied, std::int32_t builtIn) {
    const size_t before = report.findings.size();
    noteNumberValue(report, key, entry, {1, true, false}, applied, builtIn,
                    [&] { return entry.asIntList(); });
    // The names are drawn in the game's fonts 0, 1 and 2 only; any other number in font 1.
    if (key == "ZONE_VEHICLE_FONT" && (applied < 0 || applied > 2) &&
        report.findings.size() == before)
        addFinding(report, entry, true,
                   std::string(key) + " = " + std::string(entry.value) +
                       " is no font of the game: the HUD uses its built-in font " +
                       valueText(builtIn) + "; the fonts are 0, 1 and 2");
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
        addFinding(report, entry, true,
                   std::string(key) + " = " + std::string(entry.value) +
                       " is read as on: only 0, false, FALSE, no, NO or no value at all are off");
    else if (entry.cutAt)
        noteCut(report, entry);
}

void noteValue(SettingsFileReport& report, std::string_view key, const IniEntry& entry,
               Rgba applied, Rgba builtIn) {
    const size_t before = report.findings.size();
    noteNumberValue(report, key, entry, {4, true, true}, applied, builtIn,
                    [&] { return entry.asIntList(); });
    const std::string_view alphaFrom = alphaOfColourFrom(key);
    if (!alphaFrom.empty() && applied.a != 255 && entry.asIntList().size() >= 4 &&
        report.findings.size() == before)
        addFinding(report, entry, true,
                   std::string(key) + " = " + std::string(entry.value) + ": its alpha " +
                       std::to_string(applied.a) + " is not used: " + std::string(alphaFrom) +
                       ", so it stays visible");
}

std::string_view alphaOfColourFrom(std::string_view key) {
    // These elements fade or animate: their alpha comes from that, not from the colour.
    static constexpr std::pair<std::string_view, std::string_view> alphaFrom[] = {
        {"MONEY_COLOR", "the money's alpha comes from its show and fade"},
        {"AMMO_COLOR", "the ammo text's alpha comes from its show and fade"},
        {"AMMO_CLIP_COLOR", "the ammo text's alpha comes from its show and fade"},
        {"ZONE_COLOR", "the area name's alpha comes from its fade"},
        {"VEHICLE_COLOR", "the vehicle name's alpha comes from its fade"},
        {"BIGMESSAGE_COLOR", "the message's alpha comes from its fade"},
        {"WASTEDBUSTED_COLOR", "the message's alpha comes from its fade"},
        {"MISSIONTITLE_COLOR", "the title's alpha comes from its fade"},
    };
    for (const auto& [colourKey, from] : alphaFrom)
        if (colourKey == key) return from;
    return {};
}

void noteReloadKey(SettingsFileReport& report, const IniEntry& entry) {
    const std::string_view key = "RELOAD_SETTINGS";
    if (!entry.asBool() || reloadsOnEveryCall(entry.value)) {
        if (entry.cutAt) noteCut(report, entry);
        return;
    }
    if (!entry.asIntList().empty()) {
        if (reloadKeyTaken(entry.asInt(0)))
            noteValue(report, key, entry, entry.asInt(0), 0);
        else
            addFinding(report, entry, true,
                       std::string(key) + " = " + std::string(entry.value) +
                           " is no key code: codes run from 1 to 254 (116 for F5): it sets no "
                           "reload key; write a code in that range, or yes to reload on every "
                           "poll");
        return;
    }
    // The function keys' codes run from 112 for F1.
    const std::string_view value = entry.value;
    int function = 0;
    if (value.size() >= 2 && (value[0] == 'F' || value[0] == 'f'))
        std::from_chars(value.data() + 1, value.data() + value.size(), function);
    const bool functionKey =
        function >= 1 && function <= 24 && std::to_string(function) == value.substr(1);
    addFinding(
        report, entry, true,
        std::string(key) + " = " + std::string(value) +
            " is no key code the HUD reads: it sets no reload key; write a virtual-key code" +
            (functionKey
                 ? " (" + std::to_string(111 + function) + " for " + std::string(value) + ")"
                 : "") +
            ", or yes to reload on every poll");
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
    case TextForm::Utf16WithoutMark:
        return "UTF-16 without a byte-order mark";
    case TextForm::SingleBytes:
        return "single bytes, each one character (Windows-1252)";
    default:
        return nullptr;
    }
}
