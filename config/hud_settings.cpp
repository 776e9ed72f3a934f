#include "config/hud_settings.h"

#include "config/settings_findings.h"

#include <cmath>

HudSettings hudSettings;

namespace {

// One conversion per field type; the key's own default comes from a default record.
void readField(const IniEntry& entry, std::string& field, const std::string& defaultValue) {
    // assign keeps the string's storage, so a steady name list costs no allocation per frame.
    field.assign(entry.asString(defaultValue));
}
void readField(const IniEntry& entry, FloatPair& field, FloatPair defaultValue) {
    field = entry.asFloatPair(defaultValue.x, defaultValue.y);
}
void readField(const IniEntry& entry, float& field, float defaultValue) {
    field = entry.asFloat(defaultValue);
}
void readField(const IniEntry& entry, std::int32_t& field, std::int32_t defaultValue) {
    field = entry.asInt(defaultValue);
}
void readField(const IniEntry& entry, bool& field, bool) {
    field = entry.asBool();
}

} // namespace

float wheelScaleMultiplier(float configured) {
    return std::isfinite(configured) && configured > 0.0f ? configured : 130.0f;
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
    // A key that is there but is no number (yes, true) reloads on every call.
    const IniEntry reload = layout.take("RELOAD_SETTINGS");
    out.reloadKey = reload.asBool() ? reload.asInt(-1) : 0;
    if (report) finishReport(*report, layout, true, colorFileFor(out.RADAR_TYPE));
}

void loadSettingsWith(HudSettings& out, PathResolver resolvePath) {
    loadSettingsThrough(out, [resolvePath](const char* name, IniReader& reader) {
        reader.load(resolvePath(name));
    });
}
