#pragma once

#include <string_view>

#include "config/ini_reader.h"

// The colour scheme: each field is named after its key in the colour file.
struct HudColors {
    Rgba MONEY_COLOR{89, 115, 150, 255};
    Rgba AMMO_COLOR{255, 255, 255, 255};
    Rgba AMMO_CLIP_COLOR{100, 100, 100, 255};
    Rgba WANTED_COLOR{193, 164, 120, 255};
    Rgba ZONE_COLOR{152, 154, 82, 255};
    Rgba VEHICLE_COLOR{194, 165, 120, 255};
    Rgba CLOCK_COLOR{194, 165, 120, 255};
    Rgba TIMER_COLOR{186, 101, 50, 255};
    Rgba COUNTER_COLOR{0, 106, 164, 255};
    Rgba PAGER_COLOR{32, 162, 66, 205};
    Rgba RADAR_HEALTH_COLOR{186, 101, 50, 255};
    Rgba RADAR_ARMOR_COLOR{124, 140, 95, 255};
    Rgba BIGMESSAGE_COLOR{85, 119, 133, 255};
    Rgba WASTEDBUSTED_COLOR{170, 123, 87, 255};
    Rgba ODDJOB_COLOR{89, 115, 150, 255};
    Rgba ODDJOB2_COLOR{156, 91, 40, 255};
    Rgba MISSIONTITLE_COLOR{220, 172, 2, 255};
    Rgba MISSIONTIMER_BG{220, 172, 2, 255};
    Rgba MISSIONTIMERBAR_BG{220, 172, 2, 255};
    Rgba MISSIONTIMERBAR_FG{220, 172, 2, 255};
    Rgba WHEEL_BG{220, 172, 2, 255};
    Rgba WHEELINDICATOR{220, 172, 2, 255};
};

// The one list of colour keys: the loader reads by it and the tests compare by it.
// visit(key, &HudColors::field) is called once per colour, in record order.
template <class Visit> void forEachColorField(Visit&& visit) {
#define HUD_COLOR_FIELD(name) visit(std::string_view{#name}, &HudColors::name)
    HUD_COLOR_FIELD(MONEY_COLOR);
    HUD_COLOR_FIELD(AMMO_COLOR);
    HUD_COLOR_FIELD(AMMO_CLIP_COLOR);
    HUD_COLOR_FIELD(WANTED_COLOR);
    HUD_COLOR_FIELD(ZONE_COLOR);
    HUD_COLOR_FIELD(VEHICLE_COLOR);
    HUD_COLOR_FIELD(CLOCK_COLOR);
    HUD_COLOR_FIELD(TIMER_COLOR);
    HUD_COLOR_FIELD(COUNTER_COLOR);
    HUD_COLOR_FIELD(PAGER_COLOR);
    HUD_COLOR_FIELD(RADAR_HEALTH_COLOR);
    HUD_COLOR_FIELD(RADAR_ARMOR_COLOR);
    HUD_COLOR_FIELD(BIGMESSAGE_COLOR);
    HUD_COLOR_FIELD(WASTEDBUSTED_COLOR);
    HUD_COLOR_FIELD(ODDJOB_COLOR);
    HUD_COLOR_FIELD(ODDJOB2_COLOR);
    HUD_COLOR_FIELD(MISSIONTITLE_COLOR);
    HUD_COLOR_FIELD(MISSIONTIMER_BG);
    HUD_COLOR_FIELD(MISSIONTIMERBAR_BG);
    HUD_COLOR_FIELD(MISSIONTIMERBAR_FG);
    HUD_COLOR_FIELD(WHEEL_BG);
    HUD_COLOR_FIELD(WHEELINDICATOR);
#undef HUD_COLOR_FIELD
}

struct SettingsFileReport;

// Every colour from the reader, or its default where the file does not give it; with a report,
// the notes on the values it applied (finishReport notes the lines it took no key from).
void readColors(HudColors& out, const IniReader& reader, SettingsFileReport* report = nullptr);
