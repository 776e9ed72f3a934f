#include "tools/preview/settings_problems.h"

#include "config/hud_settings.h"

#include <cstdio>
#include <map>
#include <regex>
#include <sstream>
#include <type_traits>

namespace preview {

namespace {

// As the plug-in names its layout file.
constexpr char layoutFile[] = "tarvel_moravik\\tarvel_III.ini";

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

Rules layoutRules() {
    Rules rules;
    forEachSettingsField([&](std::string_view key, auto field) {
        using Field = std::remove_cvref_t<decltype(HudSettings{}.*field)>;
        rules.emplace(key, ruleFor<Field>());
    });
    rules.emplace("RELOAD_SETTINGS", ValueRule{});
    return rules;
}

Rules colorRules() {
    Rules rules;
    forEachColorField([&](std::string_view key, auto) { rules.emplace(key, ruleFor<Rgba>()); });
    return rules;
}

// False when the file cannot be opened; the plug-in reads at most this much.
bool readFile(const std::string& path, std::string& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
    char block[4096];
    size_t got = 0;
    while ((got = std::fread(block, 1, sizeof block, file)) > 0 && bytes.size() <= 16u << 20)
        bytes.append(block, got);
    std::fclose(file);
    return true;
}

// Whether every word of the value is a number as the HUD reads one: "250px" and "0.44,0.859"
// are not, though the HUD reads a number from each.
bool writtenAsNumbers(std::string_view value, bool integers) {
    static const std::regex integer("[+-]?[0-9]+");
    static const std::regex decimal("[+-]?([0-9]+[.]?[0-9]*|[.][0-9]+)([eE][+-]?[0-9]+)?");
    std::istringstream words{std::string(value)};
    std::string word;
    while (words >> word)
        if (!std::regex_match(word, integers ? integer : decimal)) return false;
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
    FileCheck(std::string file, std::vector<SettingsProblem>& out)
        : file_(std::move(file)), out_(out) {}

    // Each line as the plug-in's reader splits it; entries seen first are the ones it uses.
    void check(const std::string& bytes, const Rules& rules, const Rules& elsewhere,
               const std::string& elsewhereFile) {
        std::map<std::string, int, std::less<>> firstLine;
        size_t begin = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
        for (int line = 1; begin < bytes.size(); ++line) {
            size_t end = bytes.find('\n', begin);
            if (end == std::string::npos) end = bytes.size();
            std::string text = bytes.substr(begin, end - begin);
            if (!text.empty() && text.back() == '\r') text.pop_back();
            begin = end + 1;

            IniReader reader;
            reader.parse(text.data(), text.size());
            if (reader.entries().empty()) continue;
            const IniEntry& entry = reader.entries().front();
            const std::string key(entry.key);
            const auto rule = rules.find(key);
            if (rule == rules.end()) {
                if (elsewhere.count(key))
                    add(line, text, key + " is read from " + elsewhereFile + " only: ignored here");
                else
                    add(line, text, key + " is no key the HUD reads: ignored");
                continue;
            }
            const auto [first, isFirst] = firstLine.emplace(key, line);
            if (!isFirst) {
                add(line, text,
                    key + " is set again: the HUD uses line " + std::to_string(first->second));
                continue;
            }
            const size_t wanted = rule->second.numbers;
            if (wanted == 0) continue;
            std::vector<float> numbers = entry.asFloatList();
            if (rule->second.integers) {
                const auto whole = entry.asIntList();
                numbers.assign(whole.begin(), whole.end());
            }
            const size_t read = numbers.size();
            if (read > 0 && !writtenAsNumbers(entry.value, rule->second.integers))
                add(line, text,
                    key + " = " + std::string(entry.value) + " is read as " +
                        numbersRead(numbers, wanted) +
                        (read < wanted ? ": numbers are separated by spaces only, so the rest "
                                         "keep their built-in default"
                                       : ": only numbers and spaces are read"));
            else if (read == 0)
                add(line, text,
                    key + " holds no number the HUD can read: it takes its built-in default");
            else if (read < wanted)
                add(line, text,
                    key + " takes " + numbersText(wanted) + " separated by spaces, and only " +
                        numbersText(read) + " can be read: the rest keep their built-in default");
            else if (read > wanted)
                add(line, text, key + " takes " + numbersText(wanted) + ": the rest are ignored");
            if (key == "WEAP_WHEEL_SCALE_MULTIPLIER" && read > 0 &&
                wheelScaleMultiplier(numbers[0]) != numbers[0])
                add(line, text,
                    key + " must be above 0: the HUD uses " +
                        numbersRead({wheelScaleMultiplier(numbers[0])}, 1) +
                        " instead, a weapon wheel 8 pixels across at 1080 lines");
        }
    }

    void add(int line, const std::string& text, const std::string& message) {
        out_.push_back({file_, line, text, message});
    }

  private:
    std::string file_;
    std::vector<SettingsProblem>& out_;
};

// False, with the reason listed, when the plug-in would find no entries in the file.
bool readable(const std::string& directory, const std::string& file, std::string& bytes,
              std::vector<SettingsProblem>& out) {
    const char* why = nullptr;
    if (!readFile(directory + file, bytes))
        why = "cannot be read";
    else if (bytes.empty())
        why = "is empty";
    else if (bytes.size() > 16u << 20)
        why = "is too large to be read";
    if (why)
        out.push_back({file, 0, "",
                       file + " " + why +
                           ": the HUD draws every key of it with its built-in "
                           "default"});
    return why == nullptr;
}

} // namespace

std::vector<SettingsProblem> findSettingsProblems(const std::string& gameDirectory) {
    std::vector<SettingsProblem> problems;
    const Rules layout = layoutRules();
    const Rules colors = colorRules();

    // The colour file is the one the plug-in's own loader picks.
    static std::string directory, path;
    directory = gameDirectory;
    HudSettings settings;
    loadSettingsWith(settings, [](const char* name) {
        path = directory + name;
        return path.c_str();
    });
    const std::string colorFile = colorFileFor(settings.RADAR_TYPE);

    std::string bytes;
    if (readable(gameDirectory, layoutFile, bytes, problems))
        FileCheck(layoutFile, problems).check(bytes, layout, colors, colorFile);
    bytes.clear();
    if (readable(gameDirectory, colorFile, bytes, problems))
        FileCheck(colorFile, problems).check(bytes, colors, layout, layoutFile);
    return problems;
}

} // namespace preview
