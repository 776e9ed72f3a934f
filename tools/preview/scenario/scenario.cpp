#include "tools/preview/scenario/scenario.h"

#include "tools/preview/files/whole_files.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <sstream>
#include <string_view>

namespace preview {

namespace {

// Longest text a command may post: the game's message slots hold 127 characters.
constexpr size_t longestText = 120;
// Far beyond any script; a larger file is refused before it is read into memory.
constexpr size_t longestScenario = 1 << 20;

// Reads "<a><separator><b>", two decimal integers: a number too large for an int is refused
// rather than wrapped, whatever the C library's scanf would make of it.
bool readIntPair(const std::string& text, std::string_view separators, int& a, int& b) {
    const char* end = text.data() + text.size();
    const auto first = std::from_chars(text.data(), end, a);
    if (first.ec != std::errc() || first.ptr == end ||
        separators.find(*first.ptr) == std::string_view::npos)
        return false;
    const auto second = std::from_chars(first.ptr + 1, end, b);
    return second.ec == std::errc() && second.ptr == end;
}

enum class Args {
    None,
    Size,     // WxH
    Number,   // one number
    Numbers,  // several numbers (count checked per command)
    Key,      // a key name
    Choice,   // a word from a list
    Text,     // the rest of the line, may be empty
    Clock,    // HH:MM
    KeyValue, // a text key, then the rest of the line, or "off"
    SlotText, // a slot number, then the rest of the line
    Name,     // a capture name
    Station,  // a number or "none"
};

struct CommandInfo {
    const char* word;
    Command command;
    Args args;
    double lowest = 0; // range of each number
    double highest = 0;
    int count = 1; // most and fewest numbers of a list
    int minCount = 1;
};

constexpr double big = 2147483647.0;

const CommandInfo commands[] = {
    {"screen", Command::Screen, Args::Size},
    {"step", Command::Step, Args::Number, 1, 1000},
    {"frames", Command::Frames, Args::Number, 0, 1000000},
    {"wait", Command::Wait, Args::Number, 0, 3600000},
    {"press", Command::Press, Args::Key},
    {"release", Command::Release, Args::Key},
    {"mouse-wheel", Command::MouseWheel, Args::Choice},
    {"cash", Command::Cash, Args::Number, -big - 1, big},
    {"wanted", Command::Wanted, Args::Number, 0, 4294967295.0},
    {"health", Command::Health, Args::Number, -1e6, 1e6},
    {"armour", Command::Armour, Args::Number, -1e6, 1e6},
    {"weapon", Command::Weapon, Args::Numbers, 0, 4294967295.0, 4, 2},
    {"current-weapon", Command::CurrentWeapon, Args::Number, 0, 12},
    {"magazine", Command::Magazine, Args::Numbers, 0, 4294967295.0, 2, 2},
    {"vehicle", Command::Vehicle, Args::Station, -128, 127},
    {"radio", Command::Radio, Args::Choice},
    {"area", Command::Area, Args::Text},
    {"vehicle-name", Command::VehicleName, Args::Text},
    {"time-of-day", Command::TimeOfDay, Args::Clock},
    {"timer", Command::Timer, Args::KeyValue},
    {"counter", Command::Counter, Args::KeyValue},
    {"counter-bar", Command::CounterBar, Args::KeyValue},
    {"label", Command::Label, Args::KeyValue},
    {"message", Command::Message, Args::SlotText, 0, 5},
    {"help", Command::Help, Args::Text},
    {"subtitle", Command::Subtitle, Args::Text},
    {"pager", Command::Pager, Args::Text},
    {"camera", Command::Camera, Args::Number, -32768, 32767},
    {"mouse-aim", Command::MouseAim, Args::Choice},
    {"aim", Command::Aim, Args::Numbers, -10, 10, 2, 2},
    {"hud", Command::Hud, Args::Choice},
    {"clock", Command::Clock, Args::Number, 0, 4294967295.0},
    {"load-save", Command::LoadSave, Args::Number, 0, 4294967295.0},
    {"lock", Command::Lock, Args::Text},
    {"unlock", Command::Unlock, Args::Text},
    {"capture", Command::Capture, Args::Name},
};

std::string trim(const std::string& s) {
    size_t a = 0, b = s.size();
    while (a < b && std::isspace(static_cast<unsigned char>(s[a])))
        ++a;
    while (b > a && std::isspace(static_cast<unsigned char>(s[b - 1])))
        --b;
    return s.substr(a, b - a);
}

// The first word and the rest of the text after it.
void splitWord(const std::string& text, std::string& word, std::string& rest) {
    const size_t end = text.find_first_of(" \t");
    word = text.substr(0, end);
    rest = end == std::string::npos ? std::string() : trim(text.substr(end));
}

bool readNumber(const std::string& word, double& value) {
    if (word.empty()) return false;
    char* end = nullptr;
    value = std::strtod(word.c_str(), &end);
    return end == word.c_str() + word.size() && std::isfinite(value);
}

std::vector<std::string> words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> out;
    for (std::string w; in >> w;)
        out.push_back(w);
    return out;
}

std::string lower(std::string s) {
    for (auto& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// Checks and stores one command's arguments; returns what is wrong, or "".
std::string readArguments(const CommandInfo& info, const std::string& rest, Step& step) {
    auto numberIn = [&](const std::string& w, double& v) -> std::string {
        if (!readNumber(w, v)) return "'" + w + "' is not a number";
        if (v < info.lowest || v > info.highest) return "'" + w + "' is out of range";
        return "";
    };
    const auto parts = words(rest);
    switch (info.args) {
    case Args::None:
        return parts.empty() ? "" : "takes no arguments";
    case Args::Size: {
        int w, h;
        if (parts.size() != 1 || !parseSize(parts[0], w, h))
            return "expects a size such as 1920x1080";
        step.numbers = {double(w), double(h)};
        return "";
    }
    case Args::Number: {
        if (parts.size() != 1) return "expects one number";
        double v;
        const std::string fault = numberIn(parts[0], v);
        step.numbers = {v};
        return fault;
    }
    case Args::Numbers: {
        if (parts.size() < size_t(info.minCount) || parts.size() > size_t(info.count))
            return info.minCount == info.count
                       ? "expects " + std::to_string(info.count) + " numbers"
                       : "expects " + std::to_string(info.minCount) + " to " +
                             std::to_string(info.count) + " numbers";
        for (const auto& p : parts) {
            double v;
            const std::string fault = numberIn(p, v);
            if (!fault.empty()) return fault;
            step.numbers.push_back(v);
        }
        if (step.command == Command::Weapon && step.numbers[0] > 12)
            return "record must be 0 to 12";
        if (step.command == Command::Magazine && step.numbers[0] > 63)
            return "type must be 0 to 63";
        return "";
    }
    case Args::Key:
        if (parts.size() != 1 || virtualKey(parts[0]) < 0) return "expects a key name";
        step.text = lower(parts[0]);
        step.numbers = {double(virtualKey(parts[0]))};
        return "";
    case Args::Choice: {
        const std::string w = parts.size() == 1 ? lower(parts[0]) : "";
        if (step.command == Command::MouseWheel) {
            if (w == "up")
                step.numbers = {1, 0};
            else if (w == "down")
                step.numbers = {0, 1};
            else if (w == "still")
                step.numbers = {0, 0};
            else
                return "expects up, down or still";
            return "";
        }
        if (w != "on" && w != "off") return "expects on or off";
        step.numbers = {w == "on" ? 1.0 : 0.0};
        return "";
    }
    case Args::Text:
        if (rest.size() > longestText) return "text is longer than 120 characters";
        step.text = rest;
        return "";
    case Args::Clock: {
        int h = -1, m = -1;
        if (!readIntPair(rest, ":", h, m) || h < 0 || h > 23 || m < 0 || m > 59)
            return "expects a time such as 21:37";
        step.numbers = {double(h), double(m)};
        return "";
    }
    case Args::KeyValue: {
        if (lower(rest) == "off" && step.command != Command::Label) {
            step.off = true;
            return "";
        }
        std::string key, value;
        splitWord(rest, key, value);
        if (key.empty() || key.size() > 7) return "expects a text key of 1 to 7 characters";
        step.key = key == "-" ? "" : key;
        if (step.command == Command::CounterBar) {
            double v;
            const bool ok = readNumber(value, v) && v >= -1e6 && v <= 1e6;
            if (!ok) return "expects a percentage after the key";
            step.numbers = {v};
        } else {
            if (value.size() > (step.command == Command::Label ? longestText : 40))
                return "text is too long";
            step.text = value;
        }
        return "";
    }
    case Args::SlotText: {
        std::string slot, text;
        splitWord(rest, slot, text);
        double v;
        const std::string fault = numberIn(slot, v);
        if (!fault.empty()) return slot.empty() ? "expects a slot number" : fault;
        if (text.size() > longestText) return "text is longer than 120 characters";
        step.numbers = {v};
        step.text = text;
        return "";
    }
    case Args::Name:
        if (parts.size() != 1) return "expects one name";
        for (char c : parts[0])
            if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_' && c != '-')
                return "a capture name holds letters, digits, '_' and '-' only";
        step.text = parts[0];
        return "";
    case Args::Station:
        if (parts.size() == 1 && lower(parts[0]) == "none") {
            step.off = true;
            return "";
        }
        if (parts.size() != 1) return "expects a station number or none";
        {
            double v;
            const std::string fault = numberIn(parts[0], v);
            step.numbers = {v};
            return fault;
        }
    }
    return "";
}

} // namespace

bool parseSize(const std::string& text, int& width, int& height) {
    int w = 0, h = 0;
    if (!readIntPair(text, "xX", w, h)) return false;
    if (w < 1 || h < 1 || w > 8192 || h > 8192) return false;
    width = w;
    height = h;
    return true;
}

int virtualKey(const std::string& name) {
    const std::string n = lower(name);
    if (n.size() == 1 && std::isalnum(static_cast<unsigned char>(n[0])))
        return std::toupper(static_cast<unsigned char>(n[0]));
    static const struct {
        const char* name;
        int key;
    } named[] = {
        {"escape", 0x1B}, {"lcontrol", 0xA2}, {"lmouse", 0x01}, {"rmouse", 0x02}, {"mmouse", 0x04}};
    for (const auto& k : named)
        if (n == k.name) return k.key;
    return -1;
}

bool parseScenario(const std::string& text, const std::string& source, Scenario& scenario,
                   std::string& error) {
    scenario = Scenario();
    std::istringstream in(text);
    std::string raw;
    int lineNumber = 0;
    bool screenSeen = false;
    while (std::getline(in, raw)) {
        ++lineNumber;
        const std::string line = trim(raw);
        if (line.empty() || line[0] == '#') continue;
        auto fail = [&](const std::string& what) {
            error = source + ":" + std::to_string(lineNumber) + ": " + what;
            return false;
        };
        std::string word, rest;
        splitWord(line, word, rest);
        const CommandInfo* info = nullptr;
        for (const auto& c : commands)
            if (lower(word) == c.word) info = &c;
        if (!info) return fail("unknown command '" + word + "'");
        Step step;
        step.command = info->command;
        step.line = lineNumber;
        const std::string fault = readArguments(*info, rest, step);
        if (!fault.empty()) return fail(std::string(info->word) + " " + fault);
        if (step.command == Command::Capture) {
            for (const Step& earlier : scenario.steps)
                if (earlier.command == Command::Capture && earlier.text == step.text)
                    return fail("capture " + step.text + " is taken twice");
        }
        if (step.command == Command::Screen) {
            if (screenSeen || !scenario.steps.empty())
                return fail("screen may be given once, before every other command");
            screenSeen = true;
            scenario.width = int(step.numbers[0]);
            scenario.height = int(step.numbers[1]);
            continue;
        }
        scenario.steps.push_back(std::move(step));
    }
    return true;
}

bool readScenario(const std::string& path, Scenario& scenario, std::string& error) {
    std::string text;
    if (!readWholeFile(path, text, longestScenario + 1)) {
        error = path + ": cannot be read";
        return false;
    }
    if (text.size() > longestScenario) {
        error = path + ": larger than 1 MB, no scenario";
        return false;
    }
    return parseScenario(text, path, scenario, error);
}

} // namespace preview
