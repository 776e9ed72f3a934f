// What the plug-in tells the player in tarvel_moravik\tarvel_hud.log: the build, the call sites,
// the texture dictionaries, and each settings line it cannot use, when the file was read.
#include "sim/game_life.h"
#include "support/plugin_session.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

using testing::HasSubstr;
using testing::Not;
using testing_support::PluginSession;
using testing_support::writeDataFile;

namespace {

const std::string layoutFile = "tarvel_moravik\\tarvel_III.ini";

std::string logPath() {
    return testing_support::gameDirectory() + "tarvel_moravik\\tarvel_hud.log";
}

std::string logText() {
    std::ifstream file(logPath(), std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::string siteText(sim::Event event) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", sim::siteOf(event));
    return text;
}

void playFrames(int count) {
    for (int i = 0; i < count; ++i) {
        sim::fire(sim::Event::HudDraw);
        sim::fire(sim::Event::PhoneDraw);
    }
}

class HudLog : public testing::Test {
  protected:
    void SetUp() override { testing_support::removeDataFolder(); }
    void TearDown() override { testing_support::removeDataFolder(); }
};

} // namespace

TEST_F(HudLog, NamesEachSettingsLineItCannotUseWhenTheFileWasReadAndNothingOnASteadyFrame) {
    writeDataFile("color_configs/VColors.ini", "MONEY_COLOR = 89 115 150 255\n");
    writeDataFile("tarvel_III.ini", "MONEY_POS_TOP = 30\n"
                                    "MONY_POS_RIGHT = 33\n"
                                    "ZONE_COLOR = 1 2 3 4\n");
    PluginSession session;
    sim::fire(sim::Event::Start);
    sim::fire(sim::Event::RadarPatch);
    playFrames(1);
    const std::string started = logText();
    EXPECT_THAT(started, HasSubstr(layoutFile + " line 2: MONY_POS_RIGHT = 33 -> MONY_POS_RIGHT "
                                                "is no key the HUD reads: ignored; did you mean "
                                                "MONEY_POS_RIGHT?\r\n"));
    EXPECT_THAT(started,
                HasSubstr(layoutFile + " line 3: ZONE_COLOR = 1 2 3 4 -> ZONE_COLOR is read from "
                                       "tarvel_moravik\\color_configs\\VColors.ini only: ignored "
                                       "here; write it there\r\n"));
    EXPECT_THAT(started, Not(HasSubstr("line 1:")));
    EXPECT_THAT(started, Not(HasSubstr("VColors.ini line")));

    playFrames(20);
    EXPECT_EQ(logText(), started) << "frames without an edit";

    writeDataFile("tarvel_III.ini", "MONEY_POS_TOP = 30\n"
                                    "MONY_POS_RIGHT = 33\n"
                                    "ZONE_COLOR = 1 2 3 4\n"
                                    "WANTED_POS_TOPP = 40\n");
    playFrames(1);
    const std::string edited = logText();
    ASSERT_EQ(edited.compare(0, started.size(), started), 0) << "lines are added after the start";
    EXPECT_THAT(edited.substr(started.size()),
                HasSubstr(layoutFile + " line 4: WANTED_POS_TOPP = 40 -> WANTED_POS_TOPP is no "
                                       "key the HUD reads: ignored; did you mean "
                                       "WANTED_POS_TOP?\r\n"));
    playFrames(20);
    EXPECT_EQ(logText(), edited) << "frames after the edit, without another";
    std::error_code failure;
    EXPECT_TRUE(std::filesystem::remove(logPath(), failure))
        << "a player may delete the log while the game runs: " << failure.message();
}

// A modder's slips, from the case file the settings tests read too: the log tells each on its
// line with what to write, as the case's .expected file says ("N: message").
TEST_F(HudLog, TellsEachSlipOfTheCaseFileWhatToWrite) {
    const auto caseFile = [](const char* name) {
        std::ifstream file(std::string("advice_cases\\") + name, std::ios::binary);
        std::ostringstream text;
        text << file.rdbuf();
        return text.str();
    };
    const std::string slips = caseFile("modders_slips.ini");
    std::vector<std::string> lines;
    std::istringstream in(slips);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    writeDataFile("tarvel_III.ini", slips);
    writeDataFile("color_configs/VColors.ini", "MONEY_COLOR = 89 115 150 255\n");
    PluginSession session;
    sim::fire(sim::Event::Start);
    playFrames(1);
    const std::string log = logText();
    std::istringstream expected(caseFile("modders_slips.expected"));
    int told = 0;
    for (std::string finding; std::getline(expected, finding); ++told) {
        const size_t line = std::stoul(finding);
        ASSERT_LE(line, lines.size()) << finding;
        EXPECT_THAT(log, HasSubstr(layoutFile + " line " + std::to_string(line) + ": " +
                                   lines[line - 1] + " -> " +
                                   finding.substr(finding.find(": ") + 2) + "\r\n"));
    }
    EXPECT_GE(told, 9);
}

TEST_F(HudLog, NamesALayoutSavedWithTxtAdded) {
    writeDataFile("tarvel_III.ini.txt", "MONEY_POS_TOP = 30\n");
    writeDataFile("color_configs/VColors.ini", "MONEY_COLOR = 89 115 150 255\n");
    PluginSession session;
    sim::fire(sim::Event::Start);
    playFrames(1);
    EXPECT_THAT(logText(), HasSubstr("settings file " + layoutFile + " read\r\n  " + layoutFile +
                                     " is missing, but " + layoutFile +
                                     ".txt is there: an editor added .txt, which Windows hides; "
                                     "rename it to tarvel_III.ini: the HUD draws every key of it "
                                     "with its built-in default\r\n"));
}

TEST_F(HudLog, NamesOnceTheFormOfAFileThatIsNotPlainAscii) {
    std::string utf16 = "\xFF\xFE";
    for (const char c : std::string("MONEY_POS_TOP = 30\nMONY_POS_RIGHT = 33\n"))
        utf16 += {c, '\0'};
    writeDataFile("tarvel_III.ini", utf16);
    writeDataFile("color_configs/VColors.ini", "MONEY_COLOR = 89 115 150 255\n");
    PluginSession session;
    sim::fire(sim::Event::Start);
    playFrames(5);
    const std::string log = logText();
    const std::string read =
        "settings file " + layoutFile + " read, written in UTF-16, little endian\r\n";
    EXPECT_THAT(log, HasSubstr(read + "  " + layoutFile + " line 2: MONY_POS_RIGHT = 33 -> "));
    EXPECT_EQ(log.find(read), log.rfind(read)) << log;
    EXPECT_THAT(log,
                HasSubstr("settings file tarvel_moravik\\color_configs\\VColors.ini read\r\n"));
}

TEST_F(HudLog, NamesTheBuildEachCallSiteAndEachDictionary) {
    // Deleted first: the dictionaries are links to the build's own, never to be written.
    ASSERT_TRUE(testing_support::removeDataFile("radio_iii.txd"));
    ASSERT_TRUE(testing_support::removeDataFile("ring_iii.txd"));
    writeDataFile("ring_iii.txd", "no textures in here");
    sim::layOut(sim::Build::v100);
    // Another program's bytes at the HUD's drawing call: no CALL to hand on.
    std::memset(&sim::at<uint8_t>(sim::siteOf(sim::Event::HudDraw)), 0x90, 5);
    PluginSession session(sim::Build::v100, false);
    sim::fire(sim::Event::Start);
    sim::fire(sim::Event::Start); // a saved game loaded: the load's lines stay
    const std::string log = logText();
    EXPECT_EQ(log.rfind("tarvel_moravik HUD ", 0), 0u) << log;
    EXPECT_THAT(log, HasSubstr("game build 100 recognised"));
    EXPECT_THAT(log,
                HasSubstr("call site start at " + siteText(sim::Event::Start) + " taken over"));
    EXPECT_THAT(log, HasSubstr("call site HUD draw at " + siteText(sim::Event::HudDraw) +
                               " left alone: it holds 90 90 90 90 90"));
    EXPECT_THAT(log, HasSubstr("texture dictionary tarvel_moravik\\tarvel_iii.txd loaded"));
    EXPECT_THAT(log, HasSubstr("texture dictionary tarvel_moravik\\radio_iii.txd is missing"));
    EXPECT_THAT(log, Not(HasSubstr("not found in tarvel_moravik\\radio_iii.txd")));
    EXPECT_THAT(log, HasSubstr("texture \"12\" not found in tarvel_moravik\\ring_iii.txd"));
    EXPECT_THAT(log, HasSubstr(layoutFile + " is missing"));
    EXPECT_THAT(log, HasSubstr("game started\r\n"));
    EXPECT_NE(log.find("game started\r\n"), log.rfind("game started\r\n")) << "two starts";
}

TEST_F(HudLog, StopsAt64KilobytesAndSaysSo) {
    std::string layout;
    for (int i = 0; i < 3000; ++i)
        layout += "MONEY_POS_TOPP_" + std::to_string(i) + " = 30\n";
    writeDataFile("tarvel_III.ini", layout);
    PluginSession session;
    sim::fire(sim::Event::Start);
    const std::string log = logText();
    EXPECT_LE(log.size(), 64u * 1024);
    EXPECT_GT(log.size(), 60u * 1024);
    const std::string notice = "(the log is full at 64 KB: later lines are left out)\r\n";
    ASSERT_GE(log.size(), notice.size());
    EXPECT_EQ(log.substr(log.size() - notice.size()), notice);
}

TEST_F(HudLog, AnUnknownBuildIsNamedAndNoCallSiteIs) {
    PluginSession session(sim::Build::unknown);
    const std::string log = logText();
    EXPECT_THAT(log, HasSubstr("game build not recognised: nothing is hooked"));
    EXPECT_THAT(log, Not(HasSubstr("call site")));
}

TEST_F(HudLog, ALogThatCannotBeWrittenChangesNothingDrawn) {
    // The routines one started frame calls, in order.
    const auto drawnFrame = [] {
        PluginSession session;
        sim::fire(sim::Event::Start);
        sim::fire(sim::Event::RadarPatch);
        sim::clearCalls();
        playFrames(1);
        std::vector<std::string> routines;
        for (const sim::HostCall& call : sim::calls())
            routines.push_back(call.routine);
        return routines;
    };
    const std::vector<std::string> withLog = drawnFrame();
    ASSERT_FALSE(withLog.empty());
    std::filesystem::remove(logPath());
    std::filesystem::create_directory(logPath());
    EXPECT_EQ(drawnFrame(), withLog);
    EXPECT_TRUE(std::filesystem::is_directory(logPath()));
}

TEST_F(HudLog, APlainLoadInAFreshFolderBeginsWithTheVersionAndTheFileAndLosesNoLine) {
    PluginSession session;
    sim::fire(sim::Event::Start);
    const std::string log = logText();
    const std::string firstLine = log.substr(0, log.find("\r\n"));
    EXPECT_EQ(firstLine.rfind("tarvel_moravik HUD ", 0), 0u) << firstLine;
    EXPECT_THAT(firstLine, testing::EndsWith(", loaded from " + testing_support::gameDirectory() +
                                             "tarvel_hud.dll"));
    EXPECT_THAT(log, Not(HasSubstr("lost")));
    EXPECT_THAT(log, HasSubstr("game build 100 recognised"));
}

TEST_F(HudLog, HeldByAViewerAtLoadItIsTakenUpAtTheNextStartAndAfterTheNextSettingsChange) {
    const std::string lastSession = "the last session's lines\r\n";
    const std::string heldSince = "the lines of that load are lost";
    // Loaded and started while a viewer holds the log, which it then lets go.
    const auto playWithTheLogHeld = [&] {
        writeDataFile("tarvel_hud.log", lastSession);
        sim::lockFile(logPath());
        auto session = std::make_unique<PluginSession>();
        sim::fire(sim::Event::Start);
        playFrames(2);
        sim::unlockFile(logPath());
        playFrames(2);
        EXPECT_EQ(logText(), lastSession) << "held at load and start, then steady frames";
        return session;
    };
    {
        const auto session = playWithTheLogHeld();
        sim::fire(sim::Event::Start);
        const std::string log = logText();
        EXPECT_EQ(log.rfind("tarvel_moravik HUD ", 0), 0u) << log;
        EXPECT_THAT(log.substr(0, log.find("\r\n")), HasSubstr(heldSince));
        EXPECT_THAT(log, HasSubstr("game started\r\n"));
        EXPECT_THAT(log, HasSubstr("texture dictionary tarvel_moravik\\tarvel_iii.txd loaded"));
    }
    const auto session = playWithTheLogHeld();
    writeDataFile("tarvel_III.ini", "MONY_POS_RIGHT = 33\n");
    playFrames(1);
    const std::string log = logText();
    EXPECT_THAT(log.substr(0, log.find("\r\n")), HasSubstr(heldSince));
    EXPECT_THAT(log, HasSubstr("line 1: MONY_POS_RIGHT = 33 -> MONY_POS_RIGHT is no key"));
}
