#include "config/value_rules.h"

#include <algorithm>
#include <cmath>

std::string withDecimalPoints(std::string_view value, std::size_t numbers) {
    if (value.find(',') == std::string_view::npos) return {};
    std::string result(value);
    std::size_t words = 0;
    for (std::size_t at = result.find_first_not_of(" \t"); at < result.size();
         at = result.find_first_not_of(" \t", at)) {
        const std::size_t end = std::min(result.find_first_of(" \t", at), result.size());
        const std::size_t digits = result[at] == '+' || result[at] == '-' ? at + 1 : at;
        const std::size_t comma = result.find(',', digits);
        const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
        if (comma < end) {
            // One comma, digits on both sides, nothing else.
            if (comma == digits || comma + 1 == end ||
                !std::all_of(result.begin() + digits, result.begin() + comma, isDigit) ||
                !std::all_of(result.begin() + comma + 1, result.begin() + end, isDigit))
                return {};
            result[comma] = '.';
        }
        ++words;
        at = end;
    }
    return words == numbers ? result : std::string{};
}

IniEntry valueRead(const IniEntry& entry, std::string_view value) {
    IniEntry read = entry;
    read.value = value;
    return read;
}

float wheelScaleMultiplier(float configured) {
    return std::isfinite(configured) && configured > 0.0f ? configured : builtInWheelMultiplier;
}

bool reloadsOnEveryCall(std::string_view value) {
    const auto is = [&](std::string_view word) {
        return std::equal(value.begin(), value.end(), word.begin(), word.end(),
                          [](char a, char b) { return (a | 0x20) == b; });
    };
    return is("yes") || is("true");
}

bool reloadKeyTaken(std::int32_t number) {
    return number == -1 || (number >= 1 && number <= 254);
}
