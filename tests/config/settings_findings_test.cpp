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
    write(vColorsName, "MONEY_COLOR = 1 2 3 4\n");
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
            ":1 used [CLOCK_RIGHT = 1,5] CLOCK_RIGHT = 1,5 is read as 1: write 1.5: the "
            "decimal point is a dot; a comma ends the number\n" +
            layoutName +
            ":2 ignored [clock_right = 4] clock_right is no key the HUD reads: ignored; "
            "did you mean CLOCK_RIGHT? keys are upper case\n" +
            layoutName +
            ":3 ignored [MONY_POS_RIGHT = 33] MONY_POS_RIGHT is no key the HUD reads: "
            "ignored; did you mean MONEY_POS_RIGHT?\n" +
            layoutName +
            ":4 used [WEAP_WHEEL_SCALE_MULTIPLIER = 0] WEAP_WHEEL_SCALE_MULTIPLIER = 0 "
            "must be above 0: it takes its built-in default 130: the wheel is drawn 8 px "
            "across at 1080 lines\n" +
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
        {bytesOf("cases/utf16_without_mark.ini"), "is UTF-16 without a byte-order mark"},
        {std::string("\xFF\xFE\0\0R\0\0\0=\0\0\0", 12), "is UTF-32"},
        {std::string("MONEY_POS_TOP = 40\n\0\x01\x02\nCLOCK_RIGHT = 3\n", 26),
         "is no text file (it holds NUL bytes)"},
    };
    write(vColorsName, "MONEY_COLOR = 1 2 3 4\n");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        write(layoutName, c.bytes);
        expectSameSettings(load(), [] {
            HudSettings defaults;
            defaults.colors.MONEY_COLOR = {1, 2, 3, 4};
            return defaults;
        }());
        EXPECT_EQ(findings(), layoutName + ":0 ignored [] " + layoutName + " " + c.what +
                                  ", which the HUD cannot read: the HUD draws every key of it "
                                  "with its built-in default; save it as UTF-8\n");
    }
}

} // namespace
