#include "config/hud_settings.h"

#include "config/settings_report.h"

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
    const std::int32_t number = reload.asInt(0);
    out.reloadKey = !reload.asBool()                   ? 0
                    : reloadsOnEveryCall(reload.value) ? -1
                    : reloadKeyTaken(number)           ? number
                                                       : 0;
    if (report && !reload.absent) noteReloadKey(*report, reload);
}

void loadSettingsWith(HudSettings& out, PathResolver resolvePath) {
    loadSettingsThrough(out, [resolvePath](const char* name, IniReader& reader) {
        reader.load(resolvePath(name));
    });
}
