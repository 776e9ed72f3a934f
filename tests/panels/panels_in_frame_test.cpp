// Through the real plug-in: the panels, stars and pager draw in their place in the frame.
#include "sim/host_data.h"
#include "sim/host_panels.h"
#include "support/plugin_session.h"

#include <gtest/gtest.h>

#include <string>

using testing_support::PluginSession;

namespace {

// Index of the first logged call that satisfies the test, or -1.
template <class Test> int firstCall(Test test) {
    const auto& calls = sim::calls();
    for (size_t i = 0; i < calls.size(); ++i)
        if (test(calls[i])) return static_cast<int>(i);
    return -1;
}

int firstPrintOf(const std::u16string& text) {
    return firstCall(
        [&](const sim::HostCall& c) { return c.routine == "printText" && c.text == text; });
}

int firstSpriteOf(const std::string& texture) {
    return firstCall([&](const sim::HostCall& c) {
        return c.routine.rfind("drawSprite", 0) == 0 && c.name == texture;
    });
}

TEST(PanelsInFrame, HiddenAtLoadThenPagerStarsMoneyAndAmmoInThatOrder) {
    testing_support::removeDataFolder();
    PluginSession plugin(sim::Build::v100);
    sim::fire(sim::Event::Start);
    sim::setClock(50000);
    sim::setCash(77);
    sim::setWantedLevel(2, 0);
    sim::setWeapon(0, 2, 10, 50);
    sim::setMagazineSize(2, 30);
    sim::setPagerText("PAGE");

    sim::clearCalls();
    sim::fire(sim::Event::HudDraw);
    EXPECT_EQ(firstPrintOf(u"$77"), -1) << "money shown before any input";
    EXPECT_EQ(firstPrintOf(u"40 10"), -1) << "ammo shown before any input";
    EXPECT_NE(firstSpriteOf("tarvel_iii/pager"), -1);

    sim::setKey('P', true);
    sim::setKey(0xA2, true);
    sim::advanceClock(20);
    sim::clearCalls();
    sim::fire(sim::Event::HudDraw);
    sim::setKey('P', false);
    sim::setKey(0xA2, false);

    const int pager = firstSpriteOf("tarvel_iii/pager");
    const int stars = firstSpriteOf("tarvel_iii/star");
    const int money = firstPrintOf(u"$77");
    const int ammo = firstPrintOf(u"40 10");
    EXPECT_NE(pager, -1);
    EXPECT_LT(pager, stars);
    EXPECT_LT(stars, money);
    EXPECT_LT(money, ammo);
    EXPECT_EQ(sim::countCalls("playSound"), 0u) << "the pager beeped twice";
}

} // namespace
