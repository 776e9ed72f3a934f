#include "wheels/wheel_shared.h"
#include "config/hud_settings.h"
#include "hud/units.h"
#include "plugin/screen_text.h"
#include "wheels/format_text.h"

void fillNameTable(std::string_view names, std::span<std::string> table) {
    size_t entry = 0;
    for (size_t comma = names.find(','); comma != std::string_view::npos && entry < table.size();
         comma = names.find(',')) {
        table[entry++].assign(names.substr(0, comma));
        names.remove_prefix(comma + 1);
    }
}

const std::string& nameAt(std::span<const std::string> table, int index) {
    static const std::string none;
    if (index < 0 || static_cast<size_t>(index) >= table.size()) return none;
    return table[static_cast<size_t>(index)];
}

void printWheelCaption(const std::string& name) {
    host::setDropShadowOffset(1);
    host::setDropShadowColour({0, 0, 0, 255});
    host::setTextScale(UnitX(hudSettings.AMMO_SCALE.x), UnitY(hudSettings.AMMO_SCALE.y));
    host::textSwitch1DA0();
    printText(formatText("%s", name.c_str()), host::screenWidth() / 2.0f,
              host::screenHeight() / 2.0f);
}
