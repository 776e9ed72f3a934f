#include "config/hud_settings.h"

#include "config/settings_findings.h"

#include <algorithm>
#include <cmath>

HudSettings hudSettings;

namespace {

// One conversion per field type; the key's own default comes from a default record.
void readField(const IniEntry& entry, std::string& field, const std::string& defaultValue) {
    // assign keeps the string's storage, so a steady name list costs no allocation per frame.
    field.assign(entry.asString(defaultValue));
}
void readField(const IniEntry& entry, FloatPair& field, FloatPair defaultValue) {
    const std::string decimals = withDecimalPoints(entry.value, 2);
    field = decimals.empty()
                ? entry.asFloatPair(defaultValue.x, defaultValue.y)
                : valueRead(entry, decimals).asFloatPair(defaultValue.x, defaultValue.y);
}
void readField(const IniEntry& entry, float& field, float defaultValue) {
    const std::string decimals = withDecimalPoints(entry.value, 1);
    field = decimals.empty() ? entry.asFloat(defaultValue)
                             : valueRead(entry, decimals).asFloat(defaultValue);
}
void readField(const IniEntry& entry, std::int32_t& field, std::int32_t defaultValue) {
    field = entry.asInt(defaultValue);
}
void readField(const IniEntry& entry, bool& field, bool) {
    field = entry.asBool();
}

} // namespace

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
    return words >= 1 && words <= numbers ? result : std::string{};
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

const char* colorFileFor(int radarType) {
    return radarType == 1 ? "tarvel_moravik\\color_configs\\IIIColors.ini"
                          : "tarvel_moravik\\color_configs\\VColors.ini";
}

void readLayout(HudSettings& out, const IniReader& layout, SettingsFileReport* report) {
    static const HudSettings defaults;
    forEachSettingsField([&](std::string_view key, auto field) {
        const IniEntry entry = layout.take(key);
        readField(entry, out.*field, defaults.*field);
        if (report && !entry.absent) noteValue(*report, key, entry, out.*field, defaults.*field);
    });
    // yes or true reloads on every call; any other word (off, F5) sets no reload key.
    const IniEntry reload = layout.take("RELOAD_SETTINGS");
    out.reloadKey = !reload.asBool() ? 0 : reloadsOnEveryCall(reload.value) ? -1 : reload.asInt(0);
    if (report && !reload.absent) noteReloadKey(*report, reload);
    if (report) finishReport(*report, layout, true, colorFileFor(out.RADAR_TYPE));
}

void loadSettingsWith(HudSettings& out, PathResolver resolvePath) {
    loadSettingsThrough(out, [resolvePath](const char* name, IniReader& reader) {
        reader.load(resolvePath(name));
    });
}
