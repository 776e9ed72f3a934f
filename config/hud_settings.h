#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "config/hud_colors.h"
#include "config/ini_reader.h"
#include "config/value_rules.h"

// The layout settings: each field is named after its key in the layout file. Positions, gaps
// and sizes are in units of a 640 x 448 screen, radar and bar values in units of a 1080-pixel
// short screen side; pairs ending in _SCALE are text scales.
struct HudSettings {
    std::string WEAPON_NAMES{"Nullss"};
    std::string RADIO_NAMES{"Nullss"};
    FloatPair HUD_SCALE{0.44f, 0.859f};
    FloatPair AMMO_SCALE{0.4263f, 0.82f};
    FloatPair BIGTEXT_SCALE{0.45f, 1.0f};
    FloatPair SUBTEXT_SCALE{0.3739f, 0.7245f};
    FloatPair MONEY_SCALE{0.44f, 0.859f};
    FloatPair MISSION_BUSTED_WASTED_SCALE{0.45f, 1.0f};
    float WASTED_BUSTED_OFFSET = 30.0f;
    FloatPair INNER_RADAR_SCALE_A{53.0f, 258.0f};
    FloatPair INNER_RADAR_SCALE_B{176.0f, 233.0f};
    FloatPair OUTER_RADAR_SCALE_A{43.0f, 317.0f};
    FloatPair OUTER_RADAR_SCALE_B{36.0f, 245.0f};
    FloatPair BAR_HEALTH_POS_X_Y{49.0f, 40.0f};
    FloatPair BAR_ARMOR_POS_X_Y{183.0f, 40.0f};
    float BAR_THICKNESS = 10.0f;
    float BAR_LENGTH_MULTIPLIER = 0.25f;
    float ZONE_BOTTOM = 40.0f;
    float ZONE_RIGHT = 32.0f;
    float VEHICLE_BOTTOM = 60.0f;
    float VEHICLE_RIGHT = 32.0f;
    float MISSION_BOTTOM = 40.0f;
    float MISSION_RIGHT = 20.0f;
    float CLOCK_RIGHT = 4.0f;
    float CLOCK_BOTTOM = 4.0f;
    FloatPair CLOCK_SCALE{0.31f, 0.6f};
    float SUBTITLE_BOTTOM = 50.0f;
    float SUBTITLE_OFFSET_L = 50.0f;
    float SUBTITLE_OFFSET_R = 50.0f;
    float ODDJOB_CENTRE = 40.0f;
    float ODDJOB_RESULT_CENTRE = 20.0f;
    float WEAPON_AMMO_POS_TOP = 75.0f;
    float WEAPON_AMMO_POS_RIGHT = 32.0f;
    float WEAPON_AMMO_TRANSITION_GAP = 20.0f;
    float MONEY_POS_TOP = 30.0f;
    float MONEY_POS_RIGHT = 33.0f;
    float MONEY_TRANSITION_GAP = 15.0f;
    float WANTED_POS_TOP = 40.0f;
    float WANTED_POS_RIGHT = 62.0f;
    FloatPair WANTED_STAR_SCALE{33.33f, 33.33f};
    float WANTED_STAR_SPACE = 30.0f;
    float TEXT_BOX_WIDTH = 50.0f;
    FloatPair TEXT_BOX_TEXT_SCALE{0.3739f, 0.7245f};
    float MISSIONTIMERS_POS_BOTTOM = 115.0f;
    float MISSIONTIMERS_POS_RIGHT = 65.0f;
    float MISSIONTIMERS_TIMER_GAP = 2.0f;
    FloatPair MISSIONTIMERS_SCALE{0.31f, 0.6f};
    FloatPair MISSIONTIMERS_BG_A{0.31f, 0.6f};
    FloatPair MISSIONTIMERS_BG_B{0.31f, 0.6f};
    FloatPair MISSIONTIMERBAR_BG_A{0.31f, 0.6f};
    FloatPair MISSIONTIMERBAR_BG_B{0.31f, 0.6f};
    float MISSIONDESCTIMERAB_GAP = 15.0f;
    std::int32_t ZONE_VEHICLE_FONT = 1;
    float ZONE_VEHICLE_MISSION_TRANSITION_GAP = 15.0f;
    std::int32_t RADAR_TYPE = 4;
    bool USING_CLASSIC_AXIS = false;
    float RADIO_WHEEL_SCALE = 130.0f;
    float WEAP_WHEEL_SCALE_MULTIPLIER = builtInWheelMultiplier;
    HudColors colors;
    // RELOAD_SETTINGS: 0 no reload handler (0, no, or a word other than yes and true), -1
    // reload on every call (yes or true, in any case), else a virtual-key code.
    std::int32_t reloadKey = 0;
};

// The settings every drawer reads; refilled on every frame.
extern HudSettings hudSettings;

// The layout file, relative to the game directory.
inline constexpr char layoutFile[] = "tarvel_moravik\\tarvel_III.ini";
// The colour file, relative to the game directory, that a RADAR_TYPE selects.
const char* colorFileFor(int radarType);

// Turns a name relative to the game directory into a full path. The result may live in a
// shared buffer: it is used before the next call.
using PathResolver = const char* (*)(const char* relativeName);

// Fills every field of out from the layout file and the colour file its RADAR_TYPE selects;
// whatever a file does not give takes its default.
void loadSettingsWith(HudSettings& out, PathResolver resolvePath);
// The part of that load that comes from the layout file: every layout field and reloadKey; with
// a report, the notes on the values it applied (the lines it took no key from are noted by
// finishReport, which knows every file's keys).
void readLayout(HudSettings& out, const IniReader& layout, SettingsFileReport* report = nullptr);

// The same load with the files' entries from anywhere: readFile(relativeName, reader) fills
// reader with the entries of the named file, layout first, then the colour file it selects.
template <class ReadFile> void loadSettingsThrough(HudSettings& out, ReadFile&& readFile) {
    IniReader layout;
    readFile(static_cast<const char*>(layoutFile), layout);
    readLayout(out, layout);
    // Colours come from the colour file only, never from the layout file.
    IniReader colorFile;
    readFile(colorFileFor(out.RADAR_TYPE), colorFile);
    readColors(out.colors, colorFile);
}

// The one list of layout keys read by their type (colors and reloadKey are not in it):
// visit(key, &HudSettings::field) once per key, in record order.
template <class Visit> void forEachSettingsField(Visit&& visit) {
#define HUD_SETTINGS_FIELD(name) visit(std::string_view{#name}, &HudSettings::name)
    HUD_SETTINGS_FIELD(WEAPON_NAMES);
    HUD_SETTINGS_FIELD(RADIO_NAMES);
    HUD_SETTINGS_FIELD(HUD_SCALE);
    HUD_SETTINGS_FIELD(AMMO_SCALE);
    HUD_SETTINGS_FIELD(BIGTEXT_SCALE);
    HUD_SETTINGS_FIELD(SUBTEXT_SCALE);
    HUD_SETTINGS_FIELD(MONEY_SCALE);
    HUD_SETTINGS_FIELD(MISSION_BUSTED_WASTED_SCALE);
    HUD_SETTINGS_FIELD(WASTED_BUSTED_OFFSET);
    HUD_SETTINGS_FIELD(INNER_RADAR_SCALE_A);
    HUD_SETTINGS_FIELD(INNER_RADAR_SCALE_B);
    HUD_SETTINGS_FIELD(OUTER_RADAR_SCALE_A);
    HUD_SETTINGS_FIELD(OUTER_RADAR_SCALE_B);
    HUD_SETTINGS_FIELD(BAR_HEALTH_POS_X_Y);
    HUD_SETTINGS_FIELD(BAR_ARMOR_POS_X_Y);
    HUD_SETTINGS_FIELD(BAR_THICKNESS);
    HUD_SETTINGS_FIELD(BAR_LENGTH_MULTIPLIER);
    HUD_SETTINGS_FIELD(ZONE_BOTTOM);
    HUD_SETTINGS_FIELD(ZONE_RIGHT);
    HUD_SETTINGS_FIELD(VEHICLE_BOTTOM);
    HUD_SETTINGS_FIELD(VEHICLE_RIGHT);
    HUD_SETTINGS_FIELD(MISSION_BOTTOM);
    HUD_SETTINGS_FIELD(MISSION_RIGHT);
    HUD_SETTINGS_FIELD(CLOCK_RIGHT);
    HUD_SETTINGS_FIELD(CLOCK_BOTTOM);
    HUD_SETTINGS_FIELD(CLOCK_SCALE);
    HUD_SETTINGS_FIELD(SUBTITLE_BOTTOM);
    HUD_SETTINGS_FIELD(SUBTITLE_OFFSET_L);
    HUD_SETTINGS_FIELD(SUBTITLE_OFFSET_R);
    HUD_SETTINGS_FIELD(ODDJOB_CENTRE);
    HUD_SETTINGS_FIELD(ODDJOB_RESULT_CENTRE);
    HUD_SETTINGS_FIELD(WEAPON_AMMO_POS_TOP);
    HUD_SETTINGS_FIELD(WEAPON_AMMO_POS_RIGHT);
    HUD_SETTINGS_FIELD(WEAPON_AMMO_TRANSITION_GAP);
    HUD_SETTINGS_FIELD(MONEY_POS_TOP);
    HUD_SETTINGS_FIELD(MONEY_POS_RIGHT);
    HUD_SETTINGS_FIELD(MONEY_TRANSITION_GAP);
    HUD_SETTINGS_FIELD(WANTED_POS_TOP);
    HUD_SETTINGS_FIELD(WANTED_POS_RIGHT);
    HUD_SETTINGS_FIELD(WANTED_STAR_SCALE);
    HUD_SETTINGS_FIELD(WANTED_STAR_SPACE);
    HUD_SETTINGS_FIELD(TEXT_BOX_WIDTH);
    HUD_SETTINGS_FIELD(TEXT_BOX_TEXT_SCALE);
    HUD_SETTINGS_FIELD(MISSIONTIMERS_POS_BOTTOM);
    HUD_SETTINGS_FIELD(MISSIONTIMERS_POS_RIGHT);
    HUD_SETTINGS_FIELD(MISSIONTIMERS_TIMER_GAP);
    HUD_SETTINGS_FIELD(MISSIONTIMERS_SCALE);
    HUD_SETTINGS_FIELD(MISSIONTIMERS_BG_A);
    HUD_SETTINGS_FIELD(MISSIONTIMERS_BG_B);
    HUD_SETTINGS_FIELD(MISSIONTIMERBAR_BG_A);
    HUD_SETTINGS_FIELD(MISSIONTIMERBAR_BG_B);
    HUD_SETTINGS_FIELD(MISSIONDESCTIMERAB_GAP);
    HUD_SETTINGS_FIELD(ZONE_VEHICLE_FONT);
    HUD_SETTINGS_FIELD(ZONE_VEHICLE_MISSION_TRANSITION_GAP);
    HUD_SETTINGS_FIELD(RADAR_TYPE);
    HUD_SETTINGS_FIELD(USING_CLASSIC_AXIS);
    HUD_SETTINGS_FIELD(RADIO_WHEEL_SCALE);
    HUD_SETTINGS_FIELD(WEAP_WHEEL_SCALE_MULTIPLIER);
#undef HUD_SETTINGS_FIELD
}
