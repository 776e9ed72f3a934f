#include "config/settings_findings.h"

#include "config/hud_settings.h"

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
            const size_t read =
                rule->second.integers ? entry.asIntList().size() : entry.asFloatList().size();
            if (read == 0)
                add(line, text, key,
                    " holds no number the HUD can read: it takes its built-in default");
            else if (read < wanted)
                add(line, text, key,
                    " takes " + numbersText(wanted) + " separated by spaces, and only " +
                        numbersText(read) + " can be read: the rest keep their built-in default");
            else if (read > wanted)
                add(line, text, key, " takes " + numbersText(wanted) + ": the rest are ignored");
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
    std::FILE* file = std::fopen(path.c_str(), "rb");
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
