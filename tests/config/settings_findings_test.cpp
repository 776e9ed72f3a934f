// The findings of a settings file's one reading: what the HUD reads otherwise than written,
// ignores or replaces, where the reader leaves it, and how to write it instead.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "config/settings_findings.h"
#include "config_test_support.h"

namespace {

const std::string layoutName = "tarvel_moravik\\tarvel_III.ini";
const std::string vColorsName = "tarvel_moravik\\color_configs\\VColors.ini";

std::string bytesOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// A game folder of its own holding the given layout and modern colour files.
class SettingsFindings : public GameFolder {
  protected:
    SettingsFindings() : GameFolder("scratch_findings") {}

    HudSettings load() {
        resolverLog = {root, {}};
        HudSettings settings;
        loadSettingsWith(settings, resolveUnderRoot);
        return settings;
    }
    // Each finding as "file:line used|ignored [text] message".
    std::string findings() {
        std::string text;
        for (const SettingsFinding& f : findSettingsFindings(root + "/")) {
            text += f.file + ":" + std::to_string(f.line) + (f.used ? " used" : " ignored") + " [" +
                    f.text + "] " + f.message + "\n";
        }
        return text;
    }
};

TEST_F(SettingsFindings, WhatTheReaderPassesOverIsNamedWhereItLeavesIt) {
    write(vColorsName, "WANTED_COLOR = 1 2 3 4\n");
    // Two files joined, the second saved with a mark; a line without '='; a cut value.
    write(layoutName, "MONEY_POS_TOP = 30\n"
                      "\xEF\xBB\xBFMONEY_POS_TOP = 99\n"
                      "\xEF\xBB\xBF"
                      "CLOCK_BOTTOM = 12\n"
                      "RADAR_TYPE 2\n"
                      "WEAPON_NAMES = Fist;Bat,\n");
    const HudSettings settings = load();
    EXPECT_EQ(settings.MONEY_POS_TOP, 30.0f);
    EXPECT_EQ(settings.CLOCK_BOTTOM, 12.0f);
    EXPECT_EQ(settings.RADAR_TYPE, 2);
    EXPECT_EQ(settings.WEAPON_NAMES, "Fist");
    EXPECT_EQ(findings(),
              layoutName +
                  ":2 ignored [\xEF\xBB\xBFMONEY_POS_TOP = 99] MONEY_POS_TOP is set "
                  "again: the HUD uses line 1, MONEY_POS_TOP = 30, and ignores this "
                  "one\n" +
                  layoutName +
                  ":3 used [\xEF\xBB\xBF"
                  "CLOCK_BOTTOM = 12] the line begins with a byte-order mark, as where two "
                  "files were joined: the HUD skips the mark and reads CLOCK_BOTTOM = 12\n" +
                  layoutName +
                  ":4 used [RADAR_TYPE 2] RADAR_TYPE has no '=': the HUD reads it as "
                  "RADAR_TYPE = 2; write it so\n" +
                  layoutName +
                  ":5 used [WEAPON_NAMES = Fist;Bat,] WEAPON_NAMES is cut at ';': the HUD reads "
                  "WEAPON_NAMES = Fist; # and ; start a comment anywhere in a line\n");
}

TEST_F(SettingsFindings, EachSaysWhatTheHudUsesAndHowToWriteIt) {
    write(layoutName, "CLOCK_RIGHT = 1,5\n"
                      "clock_right = 4\n"
                      "MONY_POS_RIGHT = 33\n"
                      "WEAP_WHEEL_SCALE_MULTIPLIER = 0\n"
                      "MONEY_SCALE = 0.44,0.859\n");
    write(vColorsName, "MONEY_COLOR = #FF8800\n");
    EXPECT_EQ(
        findings(),
        layoutName +
            ":1 used [CLOCK_RIGHT = 1,5] CLOCK_RIGHT = 1,5 is read as 1.5: write 1.5: the "
            "decimal point is a dot\n" +
            layoutName +
            ":2 ignored [clock_right = 4] clock_right is no key the HUD reads: ignored; "
            "did you mean CLOCK_RIGHT? keys are upper case\n" +
            layoutName +
            ":3 ignored [MONY_POS_RIGHT = 33] MONY_POS_RIGHT is no key the HUD reads: "
            "ignored; did you mean MONEY_POS_RIGHT?\n" +
            layoutName +
            ":4 used [WEAP_WHEEL_SCALE_MULTIPLIER = 0] WEAP_WHEEL_SCALE_MULTIPLIER = 0 "
            "must be above 0: it takes its built-in default 1.95\n" +
            layoutName +
            ":5 used [MONEY_SCALE = 0.44,0.859] MONEY_SCALE = 0.44,0.859 is read as 0.44 (the "
            "rest take their built-in default): write 0.44 0.859: numbers are separated by "
            "spaces; a comma ends the list\n" +
            vColorsName +
            ":1 used [MONEY_COLOR = #FF8800] MONEY_COLOR holds no number the HUD can read "
            "(# and ; start a comment): it takes its built-in default 89 115 150 255; a "
            "colour is four whole numbers 0-255, red green blue alpha, e.g. 255 136 0 "
            "255\n");
}

// Two letters swapped are one slip, as texdict counts them: SPCAE is SPACE, not SCALE.
TEST_F(SettingsFindings, TwoSwappedLettersAreGuessedAsOneSlip) {
    write(layoutName, "WANTED_STAR_SPCAE = 30\n");
    write(vColorsName, "MONEY_COLOR = 89 115 150 255\n");
    EXPECT_EQ(findings(), layoutName + ":1 ignored [WANTED_STAR_SPCAE = 30] WANTED_STAR_SPCAE is "
                                       "no key the HUD reads: ignored; did you mean "
                                       "WANTED_STAR_SPACE?\n");
}

TEST_F(SettingsFindings, ANumberOrWordTheHudCannotUseFallsBackAndIsNamed) {
    write(vColorsName, "WANTED_COLOR = 1 2 3 4\n");
    write(layoutName, "HUD_SCALE = 1e50 0.5\n"
                      "CLOCK_SCALE = 0.31 1e39\n"
                      "RADAR_TYPE = 99999999999\n"
                      "RADAR_TYPE = 1\n"
                      "ZONE_VEHICLE_FONT = 3\n"
                      "RELOAD_SETTINGS = F5\n");
    const HudSettings settings = load();
    const HudSettings defaults;
    EXPECT_EQ(settings.HUD_SCALE, defaults.HUD_SCALE);
    EXPECT_EQ(settings.CLOCK_SCALE, defaults.CLOCK_SCALE);
    EXPECT_EQ(settings.RADAR_TYPE, 4);
    EXPECT_EQ(settings.reloadKey, 0);
    EXPECT_EQ(findings(),
              layoutName +
                  ":1 used [HUD_SCALE = 1e50 0.5] HUD_SCALE = 1e50 0.5 is out of range: it takes "
                  "its built-in default 0.44 0.859\n" +
                  layoutName +
                  ":2 used [CLOCK_SCALE = 0.31 1e39] CLOCK_SCALE = 0.31 1e39 holds a number out "
                  "of range: the HUD uses 0.31 0.6, the rest from its built-in default\n" +
                  layoutName +
                  ":3 used [RADAR_TYPE = 99999999999] RADAR_TYPE = 99999999999 is out of range: "
                  "it takes its built-in default 4\n" +
                  layoutName +
                  ":4 ignored [RADAR_TYPE = 1] RADAR_TYPE is set again: the HUD reads line 3, "
                  "RADAR_TYPE = 99999999999 (see that line for what it uses), and ignores this "
                  "one\n" +
                  layoutName +
                  ":5 used [ZONE_VEHICLE_FONT = 3] ZONE_VEHICLE_FONT = 3 is no font of the game: "
                  "the HUD uses its built-in font 1; the fonts are 0, 1 and 2\n" +
                  layoutName +
                  ":6 used [RELOAD_SETTINGS = F5] RELOAD_SETTINGS = F5 is no key code the HUD "
                  "reads: it sets no reload key; write a virtual-key code (116 for F5), or yes to "
                  "reload on every poll\n");
}

TEST_F(SettingsFindings, HintsNameWhatTheLineMeant) {
    write(layoutName, "// MONEY_POS_TOP = 120\n"
                      "MONEY_COLOUR = 1 2 3 4\n"
                      "MONEY_SCALE = 0,5 1,0\n"
                      "ZONE_VEHICLE_FONT = 2,5\n"
                      "HUD_SCALE = 0,5\n");
    write(vColorsName, "ZONE_COLOR = 152 154 82 0\n");
    const HudSettings settings = load();
    EXPECT_EQ(settings.MONEY_SCALE, (FloatPair{0.5f, 1.0f}));
    EXPECT_EQ(settings.HUD_SCALE, (FloatPair{0.0f, 0.859f}))
        << "one number with a comma on a pair is read as a list";
    EXPECT_EQ(settings.ZONE_VEHICLE_FONT, 2);
    EXPECT_EQ(settings.colors.ZONE_COLOR, (Rgba{152, 154, 82, 0}));
    EXPECT_EQ(findings(),
              layoutName +
                  ":1 ignored [// MONEY_POS_TOP = 120] a comment starts with # or ;, not //: the "
                  "HUD ignores this line as a key //; write # MONEY_POS_TOP = 120\n" +
                  layoutName +
                  ":2 ignored [MONEY_COLOUR = 1 2 3 4] MONEY_COLOUR is no key the HUD reads: "
                  "ignored; did you mean MONEY_COLOR? it is read from " +
                  vColorsName + " only\n" + layoutName +
                  ":3 used [MONEY_SCALE = 0,5 1,0] MONEY_SCALE = 0,5 1,0 is read as 0.5 1: write "
                  "0.5 1.0: the decimal point is a dot\n" +
                  layoutName +
                  ":4 used [ZONE_VEHICLE_FONT = 2,5] ZONE_VEHICLE_FONT = 2,5 is read as 2: write "
                  "2: ZONE_VEHICLE_FONT takes one whole number\n" +
                  layoutName +
                  ":5 used [HUD_SCALE = 0,5] HUD_SCALE = 0,5 is read as 0 0.859: the comma ends "
                  "the list and the second number takes its built-in default; for two numbers "
                  "write 0 5, for the decimal 0.5 write 0.5 0.859\n" +
                  vColorsName +
                  ":1 used [ZONE_COLOR = 152 154 82 0] ZONE_COLOR = 152 154 82 0: its alpha 0 is "
                  "not used: the area name's alpha comes from its fade, so it stays visible\n");
}

// A modder's slips, one a line in a case file, each told with what it is read as and every
// number of the value in what to write: the findings are those of the .expected file, by line.
TEST_F(SettingsFindings, EachSlipOfTheCaseFileIsToldWhatToWrite) {
    write(layoutName, bytesOf("advice_cases/modders_slips.ini"));
    write(vColorsName, "MONEY_COLOR = 89 115 150 255\n");
    const HudSettings settings = load();
    EXPECT_EQ(settings.BAR_HEALTH_POS_X_Y, (FloatPair{60.0f, 40.0f})) << "as a list";
    EXPECT_EQ(settings.INNER_RADAR_SCALE_A, (FloatPair{53.0f, 258.0f})) << "as a list";
    EXPECT_EQ(settings.HUD_SCALE, (FloatPair{0.5f, 1.0f})) << "as many decimals as numbers";
    EXPECT_EQ(settings.CLOCK_RIGHT, 1.5f) << "a one-number key";
    EXPECT_EQ(settings.OUTER_RADAR_SCALE_A, (FloatPair{40.0f, 317.0f}));
    EXPECT_EQ(settings.reloadKey, 0) << "no key code: no reload key, rather than key 44";
    std::string told;
    for (const SettingsFinding& f : findSettingsFindings(root + "/"))
        told += std::to_string(f.line) + ": " + f.message + "\n";
    EXPECT_EQ(told, bytesOf("advice_cases/modders_slips.expected"));
}

TEST_F(SettingsFindings, ALayoutSavedWithTxtAddedIsNamedBesideTheMissingFile) {
    write(layoutName + ".txt", "MONEY_POS_TOP = 30\n");
    write(vColorsName, "MONEY_COLOR = 89 115 150 255\n");
    expectSameSettings(load(), HudSettings{});
    EXPECT_EQ(findings(), layoutName + ":0 ignored [] " + layoutName + " is missing, but " +
                              layoutName +
                              ".txt is there: an editor added .txt, which Windows hides; rename "
                              "it to tarvel_III.ini: the HUD draws every key of it with its "
                              "built-in default\n");
}

// The case files hold one text in each form an editor saves: all give the settings of the
// single-byte one, and names with é as UTF-8.
TEST_F(SettingsFindings, EveryTextFormGivesTheSettingsOfItsSingleByteTwin) {
    write(layoutName, bytesOf("cases/names_single_bytes.ini"));
    const HudSettings twin = load();
    EXPECT_EQ(twin.WEAPON_NAMES, "Poing,D\xC3\xA9tonateur,");
    EXPECT_EQ(twin.RADIO_NAMES, "R\xC3\xA0"
                                "dio Brisa,");
    EXPECT_EQ(twin.MONEY_POS_TOP, 31.0f);
    for (const char* form : {"utf8", "utf8_mark", "utf16_little_endian", "utf16_big_endian"}) {
        SCOPED_TRACE(form);
        write(layoutName, bytesOf(std::string("cases/names_") + form + ".ini"));
        expectSameSettings(load(), twin);
        EXPECT_EQ(findings().find(layoutName + ":"), std::string::npos) << findings();
    }
}

TEST_F(SettingsFindings, TextInNoFormTheHudReadsIsOneFinding) {
    const struct {
        std::string bytes;
        const char* what;
    } cases[] = {
        {std::string("\xFF\xFE\0\0R\0\0\0=\0\0\0", 12),
         "is UTF-32, which the HUD cannot read: the HUD draws every key of it with its built-in "
         "default; save it as UTF-8"},
        {std::string("MONEY_POS_TOP = 40\n\0\x01\x02\nCLOCK_RIGHT = 3\n", 26),
         "is no text file (it holds NUL bytes), which the HUD cannot read: the HUD draws every "
         "key of it with its built-in default; remove the NUL bytes from it"},
    };
    write(vColorsName, "WANTED_COLOR = 1 2 3 4\n");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        write(layoutName, c.bytes);
        expectSameSettings(load(), [] {
            HudSettings defaults;
            defaults.colors.WANTED_COLOR = {1, 2, 3, 4};
            return defaults;
        }());
        EXPECT_EQ(findings(), layoutName + ":0 ignored [] " + layoutName + " " + c.what + "\n");
    }
}

// What an editor leaves around intact text is read as the text meant, and named once.
TEST_F(SettingsFindings, WhatAnEditorLeavesAroundTheTextIsNamedAndTheTextRead) {
    write("tarvel_moravik\\color_configs\\IIIColors.ini", "WANTED_COLOR = 1 2 3 4\n");
    const struct {
        std::string bytes;
        std::string finding;
    } cases[] = {
        {"RADAR_TYPE = 1\r\nMONEY_POS_TOP = 31\r\n" + std::string(300, '\0'),
         " ends in NUL bytes after line 2: the HUD reads the text before them; remove the NUL "
         "bytes after line 2"},
        {bytesOf("cases/utf16_without_mark.ini") +
             std::string("M\0O\0N\0E\0Y\0_\0P\0O\0S\0_\0T\0O\0P\0=\0"
                         "3\0"
                         "1\0",
                         32),
         " is UTF-16 without a byte-order mark: the HUD reads it as UTF-16, told by its NUL "
         "bytes; save it as UTF-8, or as UTF-16 with its mark"},
        {"RADAR_TYPE = 1\rMONEY_POS_TOP = 31\r", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.finding);
        write(layoutName, c.bytes);
        const HudSettings settings = load();
        EXPECT_EQ(settings.RADAR_TYPE, 1);
        EXPECT_EQ(settings.MONEY_POS_TOP, 31.0f);
        EXPECT_EQ(findings(), c.finding.empty()
                                  ? ""
                                  : layoutName + ":0 used [] " + layoutName + c.finding + "\n");
    }
}

} // namespace
