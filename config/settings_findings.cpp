#include "config/settings_findings.h"

#include "config/hud_settings.h"
#include "config/utf8_files.h"

#include <cstdio>
#include <iterator>
#include <map>
#include <type_traits>

namespace {

// The reader reads at most this much of a file.
constexpr size_t largestFile = 16u << 20;

// What a key's value must hold: so many numbers, read as whole numbers or not.
struct ValueRule {
    size_t numbers = 0;
    bool integers = false;
};
using Rules = std::map<std::string, ValueRule, std::less<>>;

template <class Field> ValueRule ruleFor() {
    if constexpr (std::is_same_v<Field, FloatPair>) return {2, false};
    if constexpr (std::is_same_v<Field, float>) return {1, false};
    if constexpr (std::is_same_v<Field, std::int32_t>) return {1, true};
    if constexpr (std::is_same_v<Field, Rgba>) return {4, true};
    return {}; // text and switches take any value
}

// Built once, on the first file checked.
const Rules& layoutRules() {
    static const Rules rules = [] {
        Rules keys;
        forEachSettingsField([&](std::string_view key, auto field) {
            using Field = std::remove_cvref_t<decltype(HudSettings{}.*field)>;
            keys.emplace(key, ruleFor<Field>());
        });
        keys.emplace("RELOAD_SETTINGS", ValueRule{});
        return keys;
    }();
    return rules;
}

const Rules& colorRules() {
    static const Rules rules = [] {
        Rules keys;
        forEachColorField([&](std::string_view key, auto) { keys.emplace(key, ruleFor<Rgba>()); });
        return keys;
    }();
    return rules;
}

// Whether one word is a number written as the HUD reads it, and nothing else.
bool plainNumber(std::string_view word, bool integer) {
    size_t at = word.empty() || (word[0] != '+' && word[0] != '-') ? 0 : 1;
    size_t digits = 0;
    while (at < word.size() && word[at] >= '0' && word[at] <= '9')
        ++at, ++digits;
    if (!integer && at < word.size() && word[at] == '.') {
        ++at;
        while (at < word.size() && word[at] >= '0' && word[at] <= '9')
            ++at, ++digits;
    }
    if (digits == 0) return false;
    if (!integer && at < word.size() && (word[at] == 'e' || word[at] == 'E')) {
        ++at;
        if (at < word.size() && (word[at] == '+' || word[at] == '-')) ++at;
        const size_t exponentStart = at;
        while (at < word.size() && word[at] >= '0' && word[at] <= '9')
            ++at;
        if (at == exponentStart) return false;
    }
    return at == word.size();
}

// Whether every word of the value is a number as the HUD reads one: "250px" and "0.44,0.859"
// are not, though the HUD reads a number from each.
bool writtenAsNumbers(std::string_view value, bool integers) {
    size_t at = 0;
    while (at < value.size()) {
        while (at < value.size() && (value[at] == ' ' || value[at] == '\t'))
            ++at;
        size_t end = at;
        while (end < value.size() && value[end] != ' ' && value[end] != '\t')
            ++end;
        if (end > at && !plainNumber(value.substr(at, end - at), integers)) return false;
        at = end;
    }
    return true;
}

std::string numbersRead(const std::vector<float>& numbers, size_t most) {
    std::string text;
    for (size_t i = 0; i < numbers.size() && i < most; ++i) {
        char number[32];
        std::snprintf(number, sizeof number, "%g", double(numbers[i]));
        text += (i ? " " : "") + std::string(number);
    }
    return text;
}

std::string numbersText(size_t n) {
    return n == 1 ? "1 number" : std::to_string(n) + " numbers";
}

class FileCheck {
  public:
    FileCheck(const char* file, std::vector<SettingsFinding>& out) : file_(file), out_(out) {}

    // Each line as the reader splits it; entries seen first are the ones the HUD uses.
    void check(std::string_view bytes, const Rules& rules, const Rules& elsewhere,
               const std::string& elsewhereFile) {
        std::vector<int> firstLine(rules.size(), 0); // by the key's place in rules
        IniReader reader;                            // one for every line, so its storage is reused
        size_t begin = bytes.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
        for (int line = 1; begin < bytes.size(); ++line) {
            size_t end = bytes.find('\n', begin);
            if (end == std::string_view::npos) end = bytes.size();
            std::string_view text = bytes.substr(begin, end - begin);
            if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
            begin = end + 1;

            reader.parse(text.data(), text.size());
            if (reader.entries().empty()) continue;
            const IniEntry& entry = reader.entries().front();
            const std::string_view key = entry.key;
            const auto rule = rules.find(key);
            if (rule == rules.end()) {
                if (elsewhere.find(key) != elsewhere.end())
                    add(line, text, key, " is read from " + elsewhereFile + " only: ignored here");
                else
                    add(line, text, key, " is no key the HUD reads: ignored");
                continue;
            }
            int& first = firstLine[static_cast<size_t>(std::distance(rules.begin(), rule))];
            if (first != 0) {
                add(line, text, key, " is set again: the HUD uses line " + std::to_string(first));
                continue;
            }
            first = line;
            const size_t wanted = rule->second.numbers;
            if (wanted == 0) continue;
            std::vector<float> numbers = entry.asFloatList();
            if (rule->second.integers) {
                const auto whole = entry.asIntList();
                numbers.assign(whole.begin(), whole.end());
            }
            const size_t read = numbers.size();
            if (read > 0 && !writtenAsNumbers(entry.value, rule->second.integers))
                add(line, text, key,
                    " = " + std::string(entry.value) + " is read as " +
                        numbersRead(numbers, wanted) +
                        (read < wanted ? ": numbers are separated by spaces only, so the rest "
                                         "keep their built-in default"
                                       : ": only numbers and spaces are read"));
            else if (read == 0)
                add(line, text, key,
                    " holds no number the HUD can read: it takes its built-in default");
            else if (read < wanted)
                add(line, text, key,
                    " takes " + numbersText(wanted) + " separated by spaces, and only " +
                        numbersText(read) + " can be read: the rest keep their built-in default");
            else if (read > wanted)
                add(line, text, key, " takes " + numbersText(wanted) + ": the rest are ignored");
            if (key == "WEAP_WHEEL_SCALE_MULTIPLIER" && read > 0 &&
                wheelScaleMultiplier(numbers[0]) != numbers[0])
                add(line, text, key,
                    " must be above 0: the HUD uses " +
                        numbersRead({wheelScaleMultiplier(numbers[0])}, 1) +
                        " instead, a weapon wheel 8 pixels across at 1080 lines");
        }
    }

    // The message starts with the key.
    void add(int line, std::string_view text, std::string_view key, const std::string& message) {
        out_.push_back({file_, line, std::string(text), std::string(key) + message});
    }

  private:
    std::string file_;
    std::vector<SettingsFinding>& out_;
};

} // namespace

std::vector<SettingsFinding> findFileProblems(const char* file, SettingsFileState state,
                                              std::string_view bytes, const char* colorFile) {
    std::vector<SettingsFinding> findings;
    const char* why = state == SettingsFileState::Missing      ? "is missing"
                      : state == SettingsFileState::Unreadable ? "cannot be read"
                      : bytes.empty()                          ? "is empty"
                      : bytes.size() > largestFile             ? "is too large to be read"
                                                               : nullptr;
    if (why) {
        findings.push_back({file, 0, "",
                            std::string(file) + " " + why +
                                ": the HUD draws every key of it with its built-in default"});
        return findings;
    }
    const bool layout = std::string_view{file} == layoutFile;
    const Rules& layoutKeys = layoutRules();
    const Rules& colorKeys = colorRules();
    if (layout)
        FileCheck(file, findings).check(bytes, layoutKeys, colorKeys, colorFile);
    else
        FileCheck(file, findings).check(bytes, colorKeys, layoutKeys, layoutFile);
    return findings;
}

bool readSettingsBytes(const std::string& path, std::string& bytes) {
    std::FILE* file = openUtf8File(path.c_str(), "rb");
    if (!file) return false;
    char block[4096];
    size_t got = 0;
    while ((got = std::fread(block, 1, sizeof block, file)) > 0 && bytes.size() <= largestFile)
        bytes.append(block, got);
    std::fclose(file);
    return true;
}

std::vector<SettingsFinding> findSettingsFindings(const std::string& gameDirectory) {
    // The colour file is the one the HUD's own loader picks.
    static std::string directory, path;
    directory = gameDirectory;
    HudSettings settings;
    loadSettingsWith(settings, [](const char* name) {
        path = directory + name;
        return path.c_str();
    });
    const char* colorFile = colorFileFor(settings.RADAR_TYPE);

    std::vector<SettingsFinding> findings;
    for (const char* file : {static_cast<const char*>(layoutFile), colorFile}) {
        std::string bytes;
        const SettingsFileState state = readSettingsBytes(gameDirectory + file, bytes)
                                            ? SettingsFileState::Read
                                            : SettingsFileState::Unreadable;
        auto found = findFileProblems(file, state, bytes, colorFile);
        findings.insert(findings.end(), found.begin(), found.end());
    }
    return findings;
}
