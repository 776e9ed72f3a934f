#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "config/hud_settings.h"
#include "config/settings_files.h"
#include "config_test_support.h"

namespace {

const std::string layoutName = "tarvel_moravik\\tarvel_III.ini";
const std::string iiiColorsName = "tarvel_moravik\\color_configs\\IIIColors.ini";
const std::string vColorsName = "tarvel_moravik\\color_configs\\VColors.ini";

// A value unlike any default for the field at position i, and how a file writes it.
void sample(int i, std::string& field, std::string& text) {
    field = "name" + std::to_string(i) + ",";
    text = field;
}
void sample(int i, FloatPair& field, std::string& text) {
    field = {static_cast<float>(i) + 0.25f, static_cast<float>(i) + 0.75f};
    text = std::to_string(i) + ".25 " + std::to_string(i) + ".75";
}
void sample(int i, float& field, std::string& text) {
    field = static_cast<float>(i) + 0.5f;
    text = std::to_string(i) + ".5";
}
void sample(int i, std::int32_t& field, std::string& text) {
    field = 1000 + i;
    text = std::to_string(field);
}
void sample(int, bool& field, std::string& text) {
    field = true;
    text = "yes";
}
void sample(int i, Rgba& field, std::string& text) {
    field = {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i + 1), 7, 9};
    text = std::to_string(i) + " " + std::to_string(i + 1) + " 7 9";
}

// Fills every field with its sample and returns the layout and colour files that give them.
struct SampleFiles {
    std::string layout;
    std::string colors;
};
SampleFiles fillWithSamples(HudSettings& settings) {
    SampleFiles files;
    int i = 0;
    std::string text;
    forEachSettingsField([&](std::string_view key, auto field) {
        sample(i++, settings.*field, text);
        files.layout += std::string(key) + " = " + text + "\n";
    });
    forEachColorField([&](std::string_view key, Rgba HudColors::*field) {
        sample(i++, settings.colors.*field, text);
        files.colors += std::string(key) + " = " + text + "\n";
    });
    settings.reloadKey = 116;
    files.layout += "RELOAD_SETTINGS = 116\n";
    return files;
}

class SettingsFiles : public GameFolder {
  protected:
    SettingsFiles() : GameFolder("scratch_settings") {}

    HudSettings load() {
        HudSettings settings;
        loadInto(settings);
        return settings;
    }
    void loadInto(HudSettings& settings) {
        resolverLog.requested.clear();
        loadSettingsWith(settings, resolveUnderRoot);
    }

    // Two schemes that differ from each other and from the defaults in MONEY_COLOR.
    void writeBothSchemes() {
        write(iiiColorsName, "MONEY_COLOR = 1 1 1 1\n");
        write(vColorsName, "MONEY_COLOR = 2 2 2 2\n");
    }
};

TEST_F(SettingsFiles, EveryKeyReachesItsOwnField) {
    HudSettings expected;
    const SampleFiles files = fillWithSamples(expected);
    const HudSettings defaults;
    forEachSettingsField([&](std::string_view key, auto field) {
        EXPECT_NE(expected.*field, defaults.*field) << key << " sample equals its default";
    });
    write(layoutName, files.layout);
    write(vColorsName, files.colors);
    expectSameSettings(load(), expected);
}

TEST_F(SettingsFiles, MissingLayoutGivesEveryDefaultAndTheModernScheme) {
    // Start from values unlike the defaults: nothing of an earlier load may survive.
    HudSettings settings;
    fillWithSamples(settings);
    loadInto(settings);
    expectSameSettings(settings, HudSettings{});
    EXPECT_EQ(resolverLog.requested, (std::vector<std::string>{layoutName, vColorsName}));
    // The wheel's built-in size is the shipped file's: 130 would draw a dot.
    EXPECT_EQ(settings.WEAP_WHEEL_SCALE_MULTIPLIER, 1.95f);
    EXPECT_EQ(wheelScaleMultiplier(0.0f), 1.95f);
}

TEST_F(SettingsFiles, RadarTypeOneChoosesTheClassicScheme) {
    const struct {
        const char* layout;
        const std::string& scheme;
        Rgba money;
    } cases[] = {
        {"RADAR_TYPE = 1\n", iiiColorsName, {1, 1, 1, 1}},
        {"RADAR_TYPE = 1.9\n", iiiColorsName, {1, 1, 1, 1}},
        {"RADAR_TYPE = 2\n", vColorsName, {2, 2, 2, 2}},
        {"RADAR_TYPE = 3\n", vColorsName, {2, 2, 2, 2}},
        {"RADAR_TYPE = 4\n", vColorsName, {2, 2, 2, 2}},
        {"RADAR_TYPE = 0x1\n", vColorsName, {2, 2, 2, 2}},
        {"RADAR_TYPE = \"1\"\n", vColorsName, {2, 2, 2, 2}},
        {"HUD_SCALE = 1 1\n", vColorsName, {2, 2, 2, 2}},
    };
    writeBothSchemes();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.layout);
        write(layoutName, c.layout);
        const HudSettings settings = load();
        EXPECT_EQ(resolverLog.requested, (std::vector<std::string>{layoutName, c.scheme}));
        EXPECT_EQ(settings.colors.MONEY_COLOR, c.money);
    }
}

TEST_F(SettingsFiles, ColoursComeFromTheChosenSchemeOnly) {
    write(layoutName, "RADAR_TYPE = 1\nMONEY_COLOR = 9 9 9 9\n");
    write(iiiColorsName, "WANTED_COLOR = 5 6 7 8\nRADAR_TYPE = 4\n");
    write(vColorsName, "MONEY_COLOR = 2 2 2 2\nWANTED_COLOR = 2 2 2 2\n");
    const HudSettings settings = load();
    HudColors expected;
    expected.WANTED_COLOR = {5, 6, 7, 8};
    expectSameColors(settings.colors, expected);
    EXPECT_EQ(settings.RADAR_TYPE, 1);
}

TEST_F(SettingsFiles, MissingClassicSchemeGivesDefaultColoursNotTheModernOnes) {
    write(layoutName, "RADAR_TYPE = 1\n");
    write(vColorsName, "MONEY_COLOR = 2 2 2 2\n");
    const HudSettings settings = load();
    expectSameColors(settings.colors, HudColors{});
    EXPECT_EQ(resolverLog.requested, (std::vector<std::string>{layoutName, iiiColorsName}));
}

TEST_F(SettingsFiles, PartialColoursKeepTheDefaultComponents) {
    write(vColorsName, "PAGER_COLOR = 10 20 30\nWHEEL_BG = 255, 0, 0, 128\n"
                       "MONEY_COLOR = 0 255 0\nAMMO_COLOR = 300 -1 0\n");
    const HudColors colors = load().colors;
    EXPECT_EQ(colors.PAGER_COLOR, (Rgba{10, 20, 30, 205}));
    EXPECT_EQ(colors.WHEEL_BG, (Rgba{255, 172, 2, 255}));
    EXPECT_EQ(colors.MONEY_COLOR, (Rgba{0, 255, 0, 255}));
    EXPECT_EQ(colors.AMMO_COLOR, (Rgba{44, 255, 0, 255}));
}

TEST_F(SettingsFiles, ReloadKeyIsReadFromTheLayoutFile) {
    const struct {
        const char* line;
        std::int32_t reloadKey;
    } cases[] = {
        {"RELOAD_SETTINGS = 116\n", 116},
        {"RELOAD_SETTINGS = true\n", -1},
        {"RELOAD_SETTINGS = yes\n", -1},
        {"RELOAD_SETTINGS = 0x74\n", 0},
        {"RELOAD_SETTINGS = 0\n", 0},
        {"RELOAD_SETTINGS = no\n", 0},
        {"RELOAD_SETTINGS = FALSE\n", 0},
        {"RELOAD_SETTINGS\n", 0},
        {"RELOAD_SETTINGS = TRUE\n", -1},
        {"RELOAD_SETTINGS = 99999999999\n", 0},
        {"RELOAD_SETTINGS = off\n", 0},
        {"RELOAD_SETTINGS = F5\n", 0},
        {"RELOAD_SETTINGS = banana\n", 0},
        {"", 0},
        // Key codes run from 1 to 254: another number would watch its low byte's key.
        {"RELOAD_SETTINGS = 1\n", 1},
        {"RELOAD_SETTINGS = 254\n", 254},
        {"RELOAD_SETTINGS = 255\n", 0},
        {"RELOAD_SETTINGS = 300\n", 0},
        {"RELOAD_SETTINGS = -1\n", -1},
        {"RELOAD_SETTINGS = -2\n", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        write(layoutName, c.line);
        EXPECT_EQ(load().reloadKey, c.reloadKey);
    }
    write(layoutName, "");
    write(vColorsName, "RELOAD_SETTINGS = 116\n");
    EXPECT_EQ(load().reloadKey, 0);
}

TEST_F(SettingsFiles, LayoutValuesFollowTheReaderRules) {
    write(layoutName, "HUD_SCALE = 0.5\nBAR_THICKNESS = 12 # thicker\nWANTED_STAR_SPACE = 12;13\n"
                      "WEAPON_NAMES = \"Fist,Bat,\"\nRADIO_NAMES\nUSING_CLASSIC_AXIS = off\n"
                      "ZONE_VEHICLE_FONT = 0x2\nRADAR_TYPE = 99999999999\n"
                      "hud_scale = 9 9\nMONEY_POS_TOP = 31\nMONEY_POS_TOP = 32\n");
    HudSettings expected;
    expected.HUD_SCALE = {0.5f, 0.859f};
    expected.BAR_THICKNESS = 12.0f;
    expected.WANTED_STAR_SPACE = 12.0f;
    expected.WEAPON_NAMES = "Fist,Bat,";
    expected.RADIO_NAMES = "";
    expected.USING_CLASSIC_AXIS = true;
    expected.ZONE_VEHICLE_FONT = 0;
    expected.MONEY_POS_TOP = 31.0f;
    expectSameSettings(load(), expected);
}

TEST_F(SettingsFiles, EditingAFileChangesTheNextLoad) {
    writeBothSchemes();
    write(layoutName, "RADAR_TYPE = 4\nHUD_SCALE = 0.5 0.5\n");
    HudSettings settings;
    loadInto(settings);
    EXPECT_EQ(settings.HUD_SCALE, (FloatPair{0.5f, 0.5f}));
    EXPECT_EQ(settings.colors.MONEY_COLOR, (Rgba{2, 2, 2, 2}));

    write(layoutName, "RADAR_TYPE = 1\nHUD_SCALE = 0.7 0.7\n");
    loadInto(settings);
    EXPECT_EQ(settings.HUD_SCALE, (FloatPair{0.7f, 0.7f}));
    EXPECT_EQ(settings.colors.MONEY_COLOR, (Rgba{1, 1, 1, 1}));

    write(iiiColorsName, "MONEY_COLOR = 3 3 3 3\n");
    loadInto(settings);
    EXPECT_EQ(settings.colors.MONEY_COLOR, (Rgba{3, 3, 3, 3}));
}

// The file system as the plug-in sees it, with the layout file's stamp set by the test.
FileStamp layoutStamp;
std::vector<std::string> reports; // each file read, with its findings
const SettingsFileSystem watchedFiles{
    resolveUnderRoot,
    [](const char* path) {
        return std::string_view(path).ends_with("tarvel_III.ini") ? layoutStamp : FileStamp{};
    },
    [] { return std::int64_t{1} << 40; }, 0,
    [](const char* name, const FileStamp&, bool unread, const SettingsFileReport& report) {
        std::string text = std::string(name) + (unread ? " unread" : " read");
        for (const SettingsFinding& finding : report.findings)
            text += "; " + finding.message;
        reports.push_back(text);
    }};

TEST_F(SettingsFiles, ALayoutTooLargeToReadIsToldOnceAndTheSettingsInUseStay) {
    write(layoutName, "MONEY_POS_TOP = 99\n");
    layoutStamp = {true, true, 0, 19, 1, 1};
    reports.clear();
    reloadSettings(watchedFiles);
    ASSERT_EQ(hudSettings.MONEY_POS_TOP, 99.0f);

    write(layoutName, "MONEY_POS_TOP = 12\n" + std::string(16 * 1024 * 1024, '#'));
    layoutStamp.size = 16 * 1024 * 1024 + 19;
    layoutStamp.lastWrite = 2;
    reports.clear();
    resolverLog.requested.clear();
    for (int frame = 0; frame < 3; ++frame)
        refreshSettings(watchedFiles);
    EXPECT_EQ(hudSettings.MONEY_POS_TOP, 99.0f);
    EXPECT_EQ(reports, std::vector<std::string>{
                           layoutName + " read; " + layoutName +
                           " is too large to be read (over 16 MB): the HUD keeps the settings in "
                           "use until it changes"});
    EXPECT_EQ(std::count(resolverLog.requested.begin(), resolverLog.requested.end(), layoutName), 4)
        << "opened once, stamped at each of three frames";
}

TEST(ColorFile, OnlyRadarTypeOneSelectsTheClassicScheme) {
    EXPECT_EQ(colorFileFor(1), iiiColorsName);
    for (int radarType : {4, 0, 2, 3, -1, 1000})
        EXPECT_EQ(colorFileFor(radarType), vColorsName) << radarType;
}

} // namespace
