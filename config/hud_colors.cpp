#include "config/hud_colors.h"
#include "config/settings_report.h"

void readColors(HudColors& out, const IniReader& reader, SettingsFileReport* report) {
    static const HudColors defaults;
    forEachColorField([&](std::string_view key, Rgba HudColors::*field) {
        const IniEntry entry = reader.take(key);
        out.*field = entry.asColor(defaults.*field);
        if (report && !entry.absent) noteValue(*report, key, entry, out.*field, defaults.*field);
    });
}
