// A saved game loaded starts the game again with its clock lower than before, and clocks go
// back or wrap: nothing shown for a while before it stays on screen, and P takes out the phone.
#include "sim/game_life.h"
#include "sim/host_data.h"
#include "support/plugin_session.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using testing_support::PluginSession;

namespace {

constexpr int keyOne = '1';

class SavedGameLoad : public testing::Test {
  protected:
    void SetUp() override {
        testing_support::removeDataFolder();
        plugin_ = std::make_unique<PluginSession>(sim::Build::v100);
        sim::fire(sim::Event::Start);
    }

    // One frame of the HUD and the phone at the given clock, with these keys held.
    static void frameAt(uint32_t clock, std::initializer_list<int> keys = {}) {
        sim::setClock(clock);
        for (int key : keys)
            sim::setKey(key, true);
        sim::clearCalls();
        sim::fire(sim::Event::HudDraw);
        sim::fire(sim::Event::PhoneDraw);
        sim::releaseAllKeys();
    }

    static std::vector<sim::HostCall> spritesOf(const char* texture) {
        std::vector<sim::HostCall> found;
        for (const auto& call : sim::calls())
            if (call.routine.starts_with("drawSprite") && call.name == texture)
                found.push_back(call);
        return found;
    }
    static bool weaponWheelDrawn() { return !spritesOf("ring_iii/sring").empty(); }
    static bool phoneDrawn() { return !spritesOf("phone_iii/phone").empty(); }
    static bool moneyDrawn() {
        for (const auto& call : sim::callsTo("printText"))
            if (call.text.starts_with(u"$")) return true;
        return false;
    }

    std::unique_ptr<PluginSession> plugin_;
};

TEST_F(SavedGameLoad, NothingShownBeforeTheLoadStaysOnScreen) {
    frameAt(50'000, {keyOne, 'P'});
    ASSERT_TRUE(weaponWheelDrawn());
    ASSERT_TRUE(phoneDrawn());
    ASSERT_TRUE(moneyDrawn());

    sim::loadSavedGame(1'000);
    frameAt(1'020);
    EXPECT_FALSE(weaponWheelDrawn());
    EXPECT_FALSE(phoneDrawn());
    EXPECT_FALSE(moneyDrawn());
}

TEST_F(SavedGameLoad, PTakesOutThePhoneAfterIt) {
    frameAt(50'000, {'P'});
    const auto firstFrameOut = spritesOf("phone_iii/phone");
    ASSERT_EQ(firstFrameOut.size(), 1u);
    frameAt(60'000);

    sim::loadSavedGame(1'000);
    frameAt(1'020, {'P'});
    const auto afterLoad = spritesOf("phone_iii/phone");
    ASSERT_EQ(afterLoad.size(), 1u) << "P took nothing out";
    EXPECT_EQ(afterLoad[0].numbers, firstFrameOut[0].numbers) << "not at the start of its slide";
}

TEST_F(SavedGameLoad, WantedStarsChangedBeforeItDoNotBlinkAfterIt) {
    sim::setWantedLevel(2, 50'000);
    sim::loadSavedGame(1'000);
    sim::setFrameCounter(0); // a frame the stars are off while they blink
    frameAt(1'020);
    EXPECT_FALSE(spritesOf("tarvel_iii/star").empty()) << "the stars blink";
}

TEST_F(SavedGameLoad, AClockThatGoesBackWithoutALoadEndsTheWheel) {
    frameAt(50'000, {keyOne});
    ASSERT_TRUE(weaponWheelDrawn());
    frameAt(20'000);
    EXPECT_FALSE(weaponWheelDrawn());
}

TEST_F(SavedGameLoad, AFrameAtClockZeroShowsNoWheel) {
    frameAt(0);
    EXPECT_FALSE(weaponWheelDrawn());
}

TEST_F(SavedGameLoad, TheWheelKeepsItsSecondAcrossTheClocksSignAndWrap) {
    for (const uint32_t trigger : {0x7FFF'FF00u, 0xFFFF'FF00u}) {
        frameAt(trigger, {keyOne});
        EXPECT_TRUE(weaponWheelDrawn()) << std::hex << trigger;
        frameAt(trigger + 900);
        EXPECT_TRUE(weaponWheelDrawn()) << std::hex << trigger;
        frameAt(trigger + 1'001);
        EXPECT_FALSE(weaponWheelDrawn()) << std::hex << trigger;
    }
}

} // namespace
