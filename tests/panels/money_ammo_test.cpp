// The panel scheduler, the money panel and the ammo panel.
#include "panel_test_support.h"

#include <limits>

namespace {

using Texts = std::vector<std::string>;

class Panels : public PanelTest {
  protected:
    // One scheduler frame at a game time, with the given keys held.
    void frameAt(uint32_t now, std::initializer_list<int> held = {}) {
        sim::setClock(now);
        for (int key : held)
            if (key) sim::setKey(key, true);
        sim::clearCalls();
        drawMoneyAndAmmoPanels();
        sim::releaseAllKeys();
    }
    // The money text's alpha and the ammo text's y this frame (-1 when not printed).
    static int moneyAlpha() {
        for (const auto& p : printed())
            if (p.text[0] == '$' && p.colour.r != 0) return p.colour.a;
        return -1;
    }
    static double ammoY() {
        for (const auto& p : printed())
            if (p.text[0] != '$') return p.y;
        return -1;
    }
    // The current weapon (record 3) and its magazine size, drawn once at full alpha.
    Texts ammoWith(int32_t type, uint32_t magazine, uint32_t clip, uint32_t total) {
        sim::setWeapon(3, type, clip, total);
        sim::setCurrentWeapon(3);
        sim::setMagazineSize(type, magazine);
        sim::clearCalls();
        ammoPanel.alpha = 255;
        drawAmmoPanel(0, 0.0f);
        return printedTexts();
    }
};

TEST_F(Panels, MoneyIsHiddenUntilPThenShownTenSecondsAndFadedOver255Ms) {
    frameAt(5000);
    EXPECT_TRUE(sim::calls().empty()) << sim::describeAll();
    frameAt(1000, {'P'}); // shown until 11000, fading until 11255
    const std::pair<uint32_t, int> alphas[] = {
        {1000, 255}, {10999, 255}, {11000, 11255 - 11000}, {11254, 1}, {11255, -1}};
    for (auto [now, alpha] : alphas) {
        frameAt(now);
        EXPECT_EQ(moneyAlpha(), alpha) << "at " << now;
    }
    frameAt(20000, {0x1B}); // Escape too
    EXPECT_EQ(moneyAlpha(), 255);
}

TEST_F(Panels, MoneyDrawsThisTextStateThenTheShadowTwoUnitsRightAndDown) {
    sim::setCash(-50);
    frameAt(1000, {'P'});
    // Scale 0.44 x 2.25, 0.859 x 1080 / 448. Shadow at 1920 - (33 - 2) x 2.25,
    // (30 + 2) x 1080 / 448; text at 1920 - 33 x 2.25, 30 x 1080 / 448.
    EXPECT_EQ(sim::describeAll(), "asciiToHost('$-50')\n"
                                  "textSwitch501D90()\n"
                                  "textSwitch501CF0()\n"
                                  "setTextScale(0.990, 2.071)\n"
                                  "textSwitch501CB0()\n"
                                  "setRightJustifyOn()\n"
                                  "setRightJustifyWidth(0.000)\n"
                                  "textSwitch501D40()\n"
                                  "setFont(2.000)\n"
                                  "textSwitch501D90()\n"
                                  "setTextColour(rgba(0 0 0 255))\n"
                                  "printText(1850.250, 77.143, \"$-50\")\n"
                                  "setTextColour(rgba(89 115 150 255))\n"
                                  "printText(1845.750, 72.321, \"$-50\")\n");
}

TEST_F(Panels, WantedLowersBothByTheTruncatedGapAndAmmoRisesWhenMoneyFades) {
    hudSettings.MONEY_TRANSITION_GAP = 15.9f; // acts as 15
    sim::setWeapon(0, 2, 10, 50);
    sim::setMagazineSize(2, 30);
    sim::setWantedLevel(2, 0);
    frameAt(1000, {'P', 0xA2}); // money until 11000, ammo until 8000
    EXPECT_FLOAT_EQ(printedAt(1).y, (30 + 15) * unitY);
    EXPECT_FLOAT_EQ(ammoY(), (75 + 15) * unitY);
    sim::setWantedLevel(0, 0);
    frameAt(5000, {0xA2}); // ammo until 12000
    EXPECT_FLOAT_EQ(ammoY(), 75 * unitY);
    frameAt(11000); // money's first fading frame, alpha still 255: ammo up by 20 already
    EXPECT_EQ(moneyAlpha(), 255);
    EXPECT_FLOAT_EQ(ammoY(), (75 - 20) * unitY);
}

TEST_F(Panels, ControlLeftMouseAndTheWheelShowAmmoSevenSecondsThenFade) {
    sim::setWeapon(0, 2, 10, 50);
    sim::setMagazineSize(2, 30);
    uint32_t start = 0;
    for (int trigger : {0xA2, 0x01, 0}) { // 0: the wheel turned
        start += 100000;
        sim::setMouseWheel(trigger == 0, false);
        frameAt(start, {trigger});
        sim::setMouseWheel(false, false);
        EXPECT_EQ(printedTexts(), (Texts{"40 10", "10"}));
        frameAt(start + 7100);
        EXPECT_EQ(firstCallTo("setDropShadowColour").colour.a, 7255 - 7100);
        frameAt(start + 7255);
        EXPECT_TRUE(sim::calls().empty()) << trigger;
    }
}

TEST_F(Panels, AmmoFiguresFollowTheMagazineAndWeaponType) {
    EXPECT_EQ(ammoWith(2, 1, 1, 150), Texts{"150"});
    EXPECT_EQ(ammoWith(2, 1000, 700, 150), Texts{"150"});
    EXPECT_EQ(ammoWith(2, 2, 1, 3), (Texts{"2 1", "1"}));
    EXPECT_EQ(ammoWith(2, 999, 10, 10010), (Texts{"9999 10", "10"})); // 10000 capped
    EXPECT_EQ(ammoWith(2, 30, 10, 10008), (Texts{"9998 10", "10"}));
    // Type 9 counts in tens: 150000 - 2500 is not below 100000, so 9999; 2500 / 10.
    EXPECT_EQ(ammoWith(9, 30, 2500, 150000), (Texts{"9999 250", "250"}));
    EXPECT_EQ(printedAt(1).colour, (sim::Colour{100, 100, 100, 255}));
    EXPECT_EQ(ammoWith(9, 30, 2500, 3500), (Texts{"100 250", "250"}));
    for (int32_t type : {4, 7, 8, 10, 11})
        EXPECT_EQ(ammoWith(type, 30, 20, 150), Texts{"130 20"}) << type;
    for (int32_t type : {0, 1})
        EXPECT_EQ(ammoWith(type, 30, 20, 150), Texts{}) << type;
    sim::setAmmoHidden(true);
    EXPECT_EQ(ammoWith(2, 30, 20, 150), Texts{});
    sim::setPlayerPresent(false);
    EXPECT_EQ(ammoWith(2, 30, 20, 150), Texts{});
}

TEST_F(Panels, AmmoDrawsThisTextStateAndOverdrawsTheClipFigure) {
    ammoPanel.alpha = 77;
    sim::setWeapon(0, 2, 20, 150);
    sim::setMagazineSize(2, 30);
    sim::setAmmoWidthAspect(16.0f / 9.0f);
    drawAmmoPanel(15, 20.0f);
    // Width 1920 x 4/3 / 16/9; scale 0.4263 x 2.25, 0.82 x 1080 / 448;
    // at 1920 - 32 x 2.25, (75 - 20 + 15) x 1080 / 448.
    EXPECT_EQ(sim::describeAll(), "weaponInfo(@00000002)\n"
                                  "asciiToHost('130 20')\n"
                                  "asciiToHost('20')\n"
                                  "setDropShadowOffset(1.000)\n"
                                  "setDropShadowColour(rgba(0 0 0 77))\n"
                                  "textSwitch501CF0()\n"
                                  "setCentreWidth(1440.000)\n"
                                  "setFont(2.000)\n"
                                  "setTextColour(rgba(255 255 255 77))\n"
                                  "setTextScale(0.959, 1.977)\n"
                                  "textSwitch501DA0()\n"
                                  "setRightJustifyOn()\n"
                                  "printText(1848.000, 168.750, \"130 20\")\n"
                                  "setTextColour(rgba(100 100 100 77))\n"
                                  "printText(1848.000, 168.750, \"20\")\n");
}

TEST_F(Panels, AnAspectThatWouldMakeTheWidthNonFiniteCountsAsFourByThree) {
    constexpr auto inf = std::numeric_limits<float>::infinity();
    for (float aspect : {0.0f, std::numeric_limits<float>::quiet_NaN(), inf, -inf,
                         std::numeric_limits<float>::denorm_min()}) {
        sim::setAmmoWidthAspect(aspect);
        ammoWith(2, 30, 20, 150);
        EXPECT_NEAR(firstCallTo("setCentreWidth").numbers[0], 1920.0, 0.001) << aspect;
    }
}

} // namespace
