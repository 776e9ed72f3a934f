// Another program's code at a call site before the plug-in loads: its CALL is taken over and
// chained to, a six-byte CALL through a pointer becomes CALL rel32 plus a NOP and still goes
// where the pointer leads, and its JMP is left exactly as it is. In every case the other program's
// routine and the game's call run once, and the game gets its result.
#include "sim/game_life.h"
#include "sim/host_radar.h"
#include "support/plugin_session.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using testing_support::PluginSession;

namespace {

using Bytes = std::vector<uint8_t>;
constexpr sim::Event event = sim::Event::HudDraw;

class ForeignCode : public testing::Test {
  protected:
    void SetUp() override { testing_support::removeDataFolder(); }

    // The other program's code written over a fresh game, before the plug-in loads.
    static Bytes placeBeforeLoad(sim::ForeignCode code) {
        sim::layOut(sim::Build::v100);
        sim::placeForeignCode(event, code);
        return sim::bytes(sim::siteOf(event), 7);
    }

    // Fires the event once: the other program's routine, then the game's, each ran once and
    // the game got its callee's result.
    static void expectBothRanOnce() { expectRanOnce({"foreign", "callee"}); }

    static void expectRanOnce(const std::vector<std::string>& routines) {
        sim::clearCalls();
        EXPECT_EQ(sim::fire(event), sim::calleeResult(event));
        std::vector<std::string> order;
        for (const auto& call : sim::calls())
            if (call.routine == "foreign" || call.routine == "callee")
                order.push_back(call.routine);
        EXPECT_EQ(order, routines);
    }

    static bool hudFrameRan() { return sim::bytes(sim::hudRoutineA, 1) == Bytes{0xC3}; }
};

TEST_F(ForeignCode, ACallIsTakenOverAndChainsToTheOtherProgramsRoutine) {
    const Bytes before = placeBeforeLoad(sim::ForeignCode::CallRel32);
    {
        PluginSession plugin(sim::Build::v100, false);
        const Bytes now = sim::bytes(sim::siteOf(event), 7);
        EXPECT_EQ(now[0], 0xE8);
        EXPECT_NE(now, before);
        expectBothRanOnce();
        EXPECT_TRUE(hudFrameRan());
    }
    EXPECT_EQ(sim::bytes(sim::siteOf(event), 7), before) << "not put back at unload";
}

TEST_F(ForeignCode, ACallThroughAPointerBecomesACallAndANop) {
    const Bytes before = placeBeforeLoad(sim::ForeignCode::CallThroughPointer);
    ASSERT_EQ(before[0], 0xFF);
    {
        PluginSession plugin(sim::Build::v100, false);
        const Bytes now = sim::bytes(sim::siteOf(event), 7);
        EXPECT_EQ(now[0], 0xE8);
        EXPECT_EQ(now[5], 0x90) << "the pointer's last byte is left to run";
        EXPECT_EQ(now[6], before[6]);
        expectBothRanOnce();
        EXPECT_TRUE(hudFrameRan());
    }
    EXPECT_EQ(sim::bytes(sim::siteOf(event), 7), before) << "not put back at unload";
}

// The other program switches itself off and on again after the takeover: each call goes where
// its pointer leads at that moment.
TEST_F(ForeignCode, ACallThroughAPointerFollowsThePointerAsItChanges) {
    const Bytes before = placeBeforeLoad(sim::ForeignCode::CallThroughPointer);
    {
        PluginSession plugin(sim::Build::v100, false);
        sim::switchForeignCode(event, false);
        expectRanOnce({"callee"});
        EXPECT_TRUE(hudFrameRan());
        sim::switchForeignCode(event, true);
        expectBothRanOnce();
    }
    EXPECT_EQ(sim::bytes(sim::siteOf(event), 7), before) << "not put back at unload";
}

TEST_F(ForeignCode, AJumpIsLeftExactlyAsItIsAndTheEventDoesNotRun) {
    const Bytes before = placeBeforeLoad(sim::ForeignCode::JumpRel32);
    PluginSession plugin(sim::Build::v100, false);
    EXPECT_EQ(sim::bytes(sim::siteOf(event), 7), before);
    expectBothRanOnce();
    EXPECT_FALSE(hudFrameRan()) << "the event's handlers ran through another program's jump";
}

// Another program hooks a site after the plug-in, then the plug-in is unloaded: the site, when
// the game executes it, still runs the other program's routine and the game's (see
// tests/support/hooked_after_hud.cpp).
TEST(HookedAfterTheHud, TheGamesCallStillRunsAfterTheHudIsUnloaded) {
    EXPECT_EQ(testing_support::runBesideThisProgram("hooked_after_hud.exe"), 0u);
}

// An executable loaded at another base is an unknown build: nothing is hooked or written (see
// tests/support/moved_game.cpp).
TEST(MovedExecutable, IsAnUnknownBuildAndNothingOfItIsTouched) {
    EXPECT_EQ(testing_support::runBesideThisProgram("moved_game.exe"), 0u);
}

} // namespace
