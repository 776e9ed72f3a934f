#include "config/hud_colors.h"

void readColors(HudColors& out, const IniReader& reader) {
    static const HudColors defaults;
    forEachColorField([&](std::string_view key, Rgba HudColors::*field) {
        out.*field = reader.find(key).asColor(defaults.*field);
    });
}
