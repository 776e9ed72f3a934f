// What the preview's page lists as lines the plug-in cannot use as written.
#include "support/plugin_session.h"
#include "tools/preview/check/settings_problems.h"
#include "tools/preview/page/page.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace preview;
namespace fs = std::filesystem;

namespace {

// A game directory of its own holding the given layout and modern colour file.
std::string gameWith(const std::string& layout, const std::string* colors) {
    const std::string game = testing_support::gameDirectory() + "problems\\";
    fs::remove_all(game);
    fs::create_directories(game + "tarvel_moravik\\color_configs");
    std::ofstream(game + "tarvel_moravik\\tarvel_III.ini", std::ios::binary) << layout;
    if (colors)
        std::ofstream(game + "tarvel_moravik\\color_configs\\VColors.ini", std::ios::binary)
            << *colors;
    return game;
}

std::string listed(const std::vector<SettingsProblem>& problems) {
    std::string text;
    for (const auto& p : problems)
        text += p.file + ":" + std::to_string(p.line) + " [" + p.text + "] " + p.message + "\n";
    return text;
}

} // namespace

TEST(SettingsProblems, EachLineTheHudCannotUseIsNamedWithWhatItDoesInstead) {
    const std::string colors = "MONEY_COLOR = 89 115 150 255\r\nAMMO_COLOR = 255 255\r\n";
    const std::string game = gameWith("\xEF\xBB\xBF# layout\r\n"
                                      "MONEY_POS_TOP = 30\r\n"
                                      "MONEY_SCALE = 0.44, 0.859\r\n"
                                      "CLOCK_RIGHT = far\r\n"
                                      "MONEY_POS_TOPP = 31 ; a typo\r\n"
                                      "MONEY_POS_TOP = 40\r\n"
                                      "ZONE_COLOR = 1 2 3 4\r\n"
                                      "BAR_THICKNESS = 10 12\r\n"
                                      "WEAPON_NAMES = anything goes\r\n"
                                      "RELOAD_SETTINGS = yes\r\n"
                                      "MONEY_POS_RIGHT = 250px\r\n"
                                      "WEAP_WHEEL_SCALE_MULTIPLIER = 0\r\n",
                                      &colors);
    const std::string layout = "tarvel_moravik\\tarvel_III.ini";
    const std::string colorFile = "tarvel_moravik\\color_configs\\VColors.ini";
    EXPECT_EQ(listed(findSettingsProblems(game)),
              layout +
                  ":3 [MONEY_SCALE = 0.44, 0.859] MONEY_SCALE = 0.44, 0.859 is read as 0.44 (the "
                  "rest take their built-in default): write 0.44 0.859: numbers are separated by "
                  "spaces; a comma ends the list\n" +
                  layout +
                  ":4 [CLOCK_RIGHT = far] CLOCK_RIGHT = far holds no number the HUD can read: it "
                  "takes its built-in default 4\n" +
                  layout +
                  ":5 [MONEY_POS_TOPP = 31 ; a typo] MONEY_POS_TOPP is no key the HUD reads: "
                  "ignored; did you mean MONEY_POS_TOP?\n" +
                  layout +
                  ":6 [MONEY_POS_TOP = 40] MONEY_POS_TOP is set again: the HUD uses line 2, "
                  "MONEY_POS_TOP = 30, and ignores this one\n" +
                  layout + ":7 [ZONE_COLOR = 1 2 3 4] ZONE_COLOR is read from " + colorFile +
                  " only: ignored here; write it there\n" + layout +
                  ":8 [BAR_THICKNESS = 10 12] BAR_THICKNESS = 10 12 takes 1 number: the HUD uses "
                  "10 and ignores the rest\n" +
                  layout +
                  ":11 [MONEY_POS_RIGHT = 250px] MONEY_POS_RIGHT = 250px is read as 250: write "
                  "250: 'px' after a number is not read; only numbers and spaces are read\n" +
                  layout +
                  ":12 [WEAP_WHEEL_SCALE_MULTIPLIER = 0] WEAP_WHEEL_SCALE_MULTIPLIER = 0 must be "
                  "above 0: it takes its built-in default 1.95\n" +
                  colorFile +
                  ":2 [AMMO_COLOR = 255 255] AMMO_COLOR = 255 255 gives 2 of 4 numbers: the HUD "
                  "uses 255 255 255 255, the rest from its built-in default; a colour is four "
                  "whole numbers 0-255, red green blue alpha, e.g. 255 255 255 255\n");
}

TEST(SettingsProblems, AFileTheHudCannotReadIsDrawnWithDefaults) {
    // RADAR_TYPE 1 selects the classic colour file, which is not there.
    const std::string game = gameWith("RADAR_TYPE = 1\n", nullptr);
    EXPECT_EQ(listed(findSettingsProblems(game)),
              "tarvel_moravik\\color_configs\\IIIColors.ini:0 [] "
              "tarvel_moravik\\color_configs\\IIIColors.ini is missing: the HUD draws every "
              "key of it with its built-in default\n");
    EXPECT_EQ(listed(findSettingsProblems(gameWith("", nullptr))),
              "tarvel_moravik\\tarvel_III.ini:0 [] tarvel_moravik\\tarvel_III.ini is empty: the "
              "HUD draws every key of it with its built-in default\n"
              "tarvel_moravik\\color_configs\\VColors.ini:0 [] "
              "tarvel_moravik\\color_configs\\VColors.ini is missing: the HUD draws every key "
              "of it with its built-in default\n");
}

TEST(SettingsProblems, ThePageSaysHowManyLinesOfEachFileGaveASettingAndNeverEveryWhenOneGaveNone) {
    const std::string colors = "MONEY_COLOR = 89 115 150 255\r\n";
    const std::string commentedOut = "# MONEY_POS_TOP = 30\r\n; CLOCK_RIGHT = 4\r\n";
    PageData page;
    page.settingsLines = countSettingsLines(gameWith(commentedOut, &colors));
    ASSERT_TRUE(findSettingsProblems(gameWith(commentedOut, &colors)).empty());
    std::string script = pageScript(page);
    EXPECT_NE(script.find("\"settingsLines\": \"tarvel_moravik\\\\tarvel_III.ini: no line gave a "
                          "setting: the HUD draws all of it with its built-in values; "
                          "tarvel_moravik\\\\color_configs\\\\VColors.ini: 1 of 1 line with a key "
                          "gave a setting\",\n\"everyLine\": false"),
              std::string::npos)
        << script;
    page.settingsLines =
        countSettingsLines(gameWith("MONEY_POS_TOP = 30\n\nCLOCK_RIGHT = 4\n", &colors));
    script = pageScript(page);
    EXPECT_NE(script.find("tarvel_III.ini: 2 of 2 lines with a key gave a setting; "),
              std::string::npos)
        << script;
    EXPECT_NE(script.find("\"everyLine\": true"), std::string::npos) << script;
}
