// Reading scenario files: every command, and one clear line for each fault.
#include "tools/preview/scenario/scenario.h"

#include <gtest/gtest.h>

using namespace preview;

namespace {

std::string faultOf(const std::string& text) {
    Scenario scenario;
    std::string error;
    EXPECT_FALSE(parseScenario(text, "s.scenario", scenario, error)) << text;
    return error;
}

Scenario parsed(const std::string& text) {
    Scenario scenario;
    std::string error;
    EXPECT_TRUE(parseScenario(text, "s.scenario", scenario, error)) << error;
    return scenario;
}

} // namespace

TEST(Scenario, ReadsCommandsWithTheirArgumentsAndLineNumbers) {
    const Scenario s = parsed("# a comment\n"
                              "screen 1280x720\n"
                              "\n"
                              "cash -50\n"
                              "weapon 3 2 14 86\n"
                              "press LControl\n"
                              "mouse-wheel down\n"
                              "vehicle none\n"
                              "time-of-day 07:05\n"
                              "counter-bar HEAT 65\n"
                              "timer - 01:00\n"
                              "message 1   The Getaway  \n"
                              "help\n"
                              "capture hud_1\n");
    EXPECT_EQ(s.width, 1280);
    EXPECT_EQ(s.height, 720);
    ASSERT_EQ(s.steps.size(), 11u);
    EXPECT_EQ(s.steps[0].command, Command::Cash);
    EXPECT_EQ(s.steps[0].line, 4);
    EXPECT_EQ(s.steps[0].numbers, std::vector<double>{-50});
    EXPECT_EQ(s.steps[1].numbers, (std::vector<double>{3, 2, 14, 86}));
    EXPECT_EQ(s.steps[2].numbers, std::vector<double>{0xA2});
    EXPECT_EQ(s.steps[3].numbers, (std::vector<double>{0, 1}));
    EXPECT_TRUE(s.steps[4].off);
    EXPECT_EQ(s.steps[5].numbers, (std::vector<double>{7, 5}));
    EXPECT_EQ(s.steps[6].key, "HEAT");
    EXPECT_EQ(s.steps[6].numbers, std::vector<double>{65});
    EXPECT_EQ(s.steps[7].key, "") << "'-' stands for no label";
    EXPECT_EQ(s.steps[7].text, "01:00");
    EXPECT_EQ(s.steps[8].numbers, std::vector<double>{1});
    EXPECT_EQ(s.steps[8].text, "The Getaway");
    EXPECT_EQ(s.steps[9].text, "") << "no text clears";
    EXPECT_EQ(s.steps[10].text, "hud_1");
    EXPECT_EQ(s.steps[10].line, 14);
}

TEST(Scenario, ReadsTheGameLifeCommands) {
    const Scenario s = parsed("clock 4294967000\n"
                              "load-save 1000\n"
                              "lock color_configs\\VColors.ini\n"
                              "unlock tarvel_III.ini\n");
    ASSERT_EQ(s.steps.size(), 4u);
    EXPECT_EQ(s.steps[0].command, Command::Clock);
    EXPECT_EQ(s.steps[0].numbers, std::vector<double>{4294967000.0});
    EXPECT_EQ(s.steps[1].command, Command::LoadSave);
    EXPECT_EQ(s.steps[1].numbers, std::vector<double>{1000});
    EXPECT_EQ(s.steps[2].command, Command::Lock);
    EXPECT_EQ(s.steps[2].text, "color_configs\\VColors.ini");
    EXPECT_EQ(s.steps[3].command, Command::Unlock);
    EXPECT_EQ(s.steps[3].text, "tarvel_III.ini");
    EXPECT_NE(faultOf("load-save -1\n"), "");
}

TEST(Scenario, WithoutAScreenLineTheSizeIs1920By1080) {
    const Scenario s = parsed("frames 1\n");
    EXPECT_EQ(s.width, 1920);
    EXPECT_EQ(s.height, 1080);
}

TEST(Scenario, EachFaultIsOneLineWithItsSourceAndLineNumber) {
    EXPECT_EQ(faultOf("frames 1\nfly 3\n"), "s.scenario:2: unknown command 'fly'");
    EXPECT_EQ(faultOf("\n\nwait soon\n"), "s.scenario:3: wait 'soon' is not a number");
    EXPECT_EQ(faultOf("frames -1\n"), "s.scenario:1: frames '-1' is out of range");
    EXPECT_EQ(faultOf("press hyperspace\n"), "s.scenario:1: press expects a key name");
    EXPECT_EQ(faultOf("weapon 13 2\n"), "s.scenario:1: weapon record must be 0 to 12");
    EXPECT_EQ(faultOf("weapon 1\n"), "s.scenario:1: weapon expects 2 to 4 numbers");
    EXPECT_EQ(faultOf("time-of-day 25:00\n"),
              "s.scenario:1: time-of-day expects a time such as 21:37");
    EXPECT_EQ(faultOf("message 6 Hi\n"), "s.scenario:1: message '6' is out of range");
    EXPECT_EQ(faultOf("capture a/b\n"),
              "s.scenario:1: capture a capture name holds letters, digits, '_' and '-' only");
    EXPECT_EQ(faultOf("frames 1\nscreen 800x600\n"),
              "s.scenario:2: screen may be given once, before every other command");
    EXPECT_EQ(faultOf("screen 0x600\n"), "s.scenario:1: screen expects a size such as 1920x1080");
    EXPECT_EQ(faultOf("help " + std::string(121, 'x') + "\n"),
              "s.scenario:1: help text is longer than 120 characters");
    EXPECT_EQ(faultOf("mouse-aim maybe\n"), "s.scenario:1: mouse-aim expects on or off");
    EXPECT_EQ(faultOf("capture hud\ncapture hud\n"), "s.scenario:2: capture hud is taken twice");
}

TEST(Scenario, AFileThatCannotBeReadSaysSo) {
    Scenario scenario;
    std::string error;
    EXPECT_FALSE(readScenario("no such folder\\none.scenario", scenario, error));
    EXPECT_EQ(error, "no such folder\\none.scenario: cannot be read");
}

TEST(Sizes, AreWidthByHeightEachOneTo8192) {
    int w = 0, h = 0;
    EXPECT_TRUE(parseSize("1280x720", w, h));
    EXPECT_EQ(w, 1280);
    EXPECT_EQ(h, 720);
    EXPECT_TRUE(parseSize("8192X1", w, h));
    for (const char* bad : {"1280", "1280x", "x720", "0x720", "1280x8193", "12a0x720", "1280x720x2",
                            "-5x5", "", "4294968576x720"}) // 2^32 + 1280
        EXPECT_FALSE(parseSize(bad, w, h)) << bad;
}
