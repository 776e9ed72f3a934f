#include "wheels/wheel_shared.h"
#include "config/hud_settings.h"
#include "config/utf8_files.h"
#include "host/screen_text.h"
#include "screen/units.h"

#include <string>

namespace {

// The caption as 16-bit codes: names are UTF-8 (the settings reader brings every file to it);
// a character beyond 16 bits goes as its two surrogates. Kept, so a frame allocates nothing.
std::u16string captionBuffer;

const char16_t* codesOf(std::string_view name) {
    captionBuffer.clear();
    for (std::size_t at = 0; at < name.size();) {
        const char32_t code = nextCodePoint(name, at);
        if (code >= 0x10000) {
            captionBuffer.push_back(static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10)));
            captionBuffer.push_back(static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF)));
        } else {
            captionBuffer.push_back(static_cast<char16_t>(code));
        }
    }
    return captionBuffer.c_str();
}

} // namespace

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
    printText16(codesOf(name), host::screenWidth() / 2.0f, host::screenHeight() / 2.0f);
}
