#include "sim/host_guarded_player.h"
#include "wheel_test_support.h"

namespace wheels_test {
namespace {

using ::testing::ElementsAre;
using ::testing::FloatNear;
using ::testing::Pointwise;

class WeaponWheel : public WheelTest {};

// --- When it shows -------------------------------------------------------------------------

TEST_F(WeaponWheel, OneWheelTurnShowsItForOneSecond) {
    sim::setMouseWheel(true, false);
    frameAt(startTime);
    EXPECT_TRUE(weaponWheelDrawn());
    EXPECT_TRUE(weaponWheelVisible);

    sim::setMouseWheel(false, false);
    frameAt(startTime + 1000); // the deadline itself still shows
    EXPECT_TRUE(weaponWheelDrawn());
    frameAt(startTime + 1001);
    EXPECT_FALSE(weaponWheelDrawn());
    EXPECT_FALSE(weaponWheelVisible);
}

TEST_F(WeaponWheel, ContinuedTurningKeepsItUp) {
    for (uint32_t t : {0u, 600u, 1200u}) {
        sim::setMouseWheel(false, true);
        frameAt(startTime + t);
        EXPECT_TRUE(weaponWheelDrawn()) << t;
    }
    sim::setMouseWheel(false, false);
    frameAt(startTime + 1200 + 1000);
    EXPECT_TRUE(weaponWheelDrawn());
    frameAt(startTime + 1200 + 1001);
    EXPECT_FALSE(weaponWheelDrawn());
}

TEST_F(WeaponWheel, TheMiddleButtonAndKeyOneTriggerItToo) {
    for (int key : std::vector<int>{VK_MIDDLE_BUTTON, '1'}) {
        weaponWheelDeadline = 0;
        sim::setKey(key, true);
        frameAt(startTime);
        EXPECT_TRUE(weaponWheelDrawn()) << key;
        sim::setKey(key, false);
    }
    weaponWheelDeadline = 0;
    frameAt(startTime);
    EXPECT_FALSE(weaponWheelDrawn());
}

TEST_F(WeaponWheel, TheRightButtonHidesItAtOnceAndStopsRefreshes) {
    sim::setMouseWheel(true, false);
    frameAt(startTime);
    ASSERT_TRUE(weaponWheelDrawn());

    // Still turning, but the button is down: hidden, and the deadline stays at start + 1000.
    sim::setKey(VK_RIGHT_BUTTON, true);
    frameAt(startTime + 100);
    EXPECT_FALSE(weaponWheelDrawn());
    frameAt(startTime + 400);
    EXPECT_FALSE(weaponWheelDrawn());

    sim::setKey(VK_RIGHT_BUTTON, false);
    sim::setMouseWheel(false, false);
    frameAt(startTime + 500);
    EXPECT_TRUE(weaponWheelDrawn());
    frameAt(startTime + 1001); // not 400 + 1000: the blocked turns refreshed nothing
    EXPECT_FALSE(weaponWheelDrawn());
}

TEST_F(WeaponWheel, KeyTwoBlocksItLikeTheRightButton) {
    sim::setKey('1', true);
    sim::setKey('2', true);
    frameAt(startTime);
    EXPECT_FALSE(weaponWheelDrawn());
    sim::setKey('2', false);
    sim::setKey('1', false);
    frameAt(startTime + 1);
    EXPECT_FALSE(weaponWheelDrawn());
}

TEST_F(WeaponWheel, AShownRadioWheelKeepsItHiddenButItsDeadlineIsRefreshed) {
    sim::setVehicle(true, 2);
    sim::setRadioAvailable(true);
    sim::setKey('R', true);
    frameAt(startTime);
    ASSERT_TRUE(radioWheelDrawn());
    sim::setKey('R', false);

    sim::setMouseWheel(true, false);
    frameAt(startTime + 500);
    EXPECT_FALSE(weaponWheelDrawn());
    EXPECT_TRUE(radioWheelDrawn());

    // Out of the vehicle the radio wheel goes; the turn at +500 still holds until +1500.
    sim::setMouseWheel(false, false);
    sim::setVehicle(false);
    frameAt(startTime + 600);
    EXPECT_FALSE(radioWheelDrawn());
    frameAt(startTime + 1500);
    EXPECT_TRUE(weaponWheelDrawn());
    frameAt(startTime + 1501);
    EXPECT_FALSE(weaponWheelDrawn());
}

// --- What it draws -------------------------------------------------------------------------

TEST_F(WeaponWheel, RingOnTheFixedSquareAndSelectorTurnedToTheLastFramesWeapon) {
    hudSettings.WEAP_WHEEL_SCALE_MULTIPLIER = 2.0f; // half side 540 / 2 = 270
    hudSettings.colors.WHEEL_BG = {1, 2, 3, 4};
    hudSettings.colors.WHEELINDICATOR = {5, 6, 7, 8};
    sim::setCurrentWeapon(3);
    sim::setMouseWheel(true, false);
    frameAt(startTime);

    // The fixed square: turned by 11/7, cos * 270 = -0.17071, sin * 270 = 269.99995.
    const double c = -0.17071, s = 269.99995;
    const std::vector<double> fixed = {960 + (c - s), 540 + (c + s), 960 + (c + s), 540 + (s - c),
                                       960 - (s + c), 540 + (c - s), 960 - (c - s), 540 - (c + s)};
    const auto ring = drawsOf("ring_iii/sring");
    ASSERT_EQ(ring.size(), 1u);
    EXPECT_THAT(ring[0].numbers, Pointwise(FloatNear(0.001), fixed));
    EXPECT_EQ(ring[0].colour, (sim::Colour{1, 2, 3, 4}));

    // The selector follows the index of the frame before: 0 at first, an unturned square.
    auto selector = drawsOf("ring_iii/shl");
    ASSERT_EQ(selector.size(), 1u);
    EXPECT_THAT(selector[0].numbers, ElementsAre(960 + 270, 540 + 270, 960 + 270, 540 - 270,
                                                 960 - 270, 540 + 270, 960 - 270, 540 - 270));
    EXPECT_EQ(selector[0].colour, (sim::Colour{5, 6, 7, 8}));
    EXPECT_EQ(currentWeaponIndex, 3);

    // Index 3 turns it by 3 * 660/1260 = 11/7: the fixed square.
    frameAt(startTime + 20);
    selector = drawsOf("ring_iii/shl");
    ASSERT_EQ(selector.size(), 1u);
    EXPECT_THAT(selector[0].numbers, Pointwise(FloatNear(0.001), fixed));
}

TEST_F(WeaponWheel, DrawsRingSelectorCaptionThenSegmentsInThatOrder) {
    sim::setWeapon(2, 5);
    sim::setMouseWheel(true, false);
    frameAt(startTime);
    EXPECT_THAT(routinesFrom("drawSpriteQuad"),
                ElementsAre("drawSpriteQuad", "drawSpriteQuad", "setCentreOn", "setTextColour",
                            "setFont", "setDropShadowOffset", "setDropShadowColour", "setTextScale",
                            "textSwitch501DA0", "printText", "drawSpriteQuad", "drawSpriteQuad",
                            // the radio wheel, out of a vehicle, looks up station 0's icon
                            "findTexture"));
    const auto quads = sim::callsTo("drawSpriteQuad");
    EXPECT_EQ(quads[0].name, "ring_iii/sring");
    EXPECT_EQ(quads[1].name, "ring_iii/shl");
    EXPECT_EQ(quads[2].name, "ring_iii/2");
    EXPECT_EQ(quads[3].name, "ring_iii/0");
}

TEST_F(WeaponWheel, CaptionIsWhiteFontTwoWithABlackShadowAtTheAmmoScale) {
    sim::setMouseWheel(true, false);
    frameAt(startTime);
    ASSERT_EQ(sim::callsTo("setTextColour").size(), 1u);
    EXPECT_EQ(sim::callsTo("setTextColour")[0].colour, (sim::Colour{255, 255, 255, 255}));
    EXPECT_THAT(sim::callsTo("setFont")[0].numbers, ElementsAre(2));
    EXPECT_THAT(sim::callsTo("setDropShadowOffset")[0].numbers, ElementsAre(1));
    EXPECT_EQ(sim::callsTo("setDropShadowColour")[0].colour, (sim::Colour{0, 0, 0, 255}));
    // AMMO_SCALE 0.4263 0.82: 0.4263 * 1080 / 480 wide, 0.82 * 1080 / 448 high.
    EXPECT_THAT(
        sim::callsTo("setTextScale")[0].numbers,
        Pointwise(FloatNear(1e-4), std::vector<double>{0.4263 * 1080 / 480, 0.82 * 1080 / 448}));
    EXPECT_THAT(sim::callsTo("printText")[0].numbers, ElementsAre(1920 / 2, 1080 / 2));
}

TEST_F(WeaponWheel, SegmentsOneToElevenForCarriedWeaponsAndZeroWithoutRecordTwelve) {
    sim::setWeapon(1, 1);
    sim::setWeapon(4, 4);
    sim::setWeapon(11, 11);
    sim::setWeapon(7, 0x100); // only the type's low byte counts: not carried
    sim::setMouseWheel(true, false);
    frameAt(startTime);
    std::vector<std::string> segments;
    for (const auto& quad : sim::callsTo("drawSpriteQuad")) {
        if (quad.name == "ring_iii/sring" || quad.name == "ring_iii/shl") continue;
        segments.push_back(quad.name);
        EXPECT_EQ(quad.colour, (sim::Colour{255, 255, 255, 255}));
        EXPECT_EQ(quad.numbers, drawsOf("ring_iii/sring")[0].numbers); // on the fixed square
    }
    EXPECT_THAT(segments, ElementsAre("ring_iii/1", "ring_iii/4", "ring_iii/11", "ring_iii/0"));
}

TEST_F(WeaponWheel, RecordTwelveShowsSegmentTwelveAndNeverSegmentZero) {
    sim::setWeapon(12, 12);
    sim::setMouseWheel(true, false);
    frameAt(startTime);
    EXPECT_EQ(drawsOf("ring_iii/12").size(), 1u);
    EXPECT_TRUE(drawsOf("ring_iii/0").empty());
}

TEST_F(WeaponWheel, TexturesAreLookedUpOnEveryRunShownOrNot) {
    frameAt(startTime); // hidden
    ASSERT_FALSE(weaponWheelDrawn());
    std::vector<std::string> names;
    for (const auto& call : sim::callsTo("findTexture"))
        if (call.object == reinterpret_cast<uint32_t>(hudTextures.ringDictionary))
            names.push_back(call.name);
    EXPECT_THAT(names, ElementsAre("sring", "shl"));
    EXPECT_EQ(sim::textureName(reinterpret_cast<uint32_t>(&hudTextures.weaponWheelSprites[1])),
              "ring_iii/shl");

    // A texture the dictionary lacks leaves the sprite without one.
    sim::removeTexture("ring_iii", "shl");
    sim::setMouseWheel(true, false);
    frameAt(startTime + 20);
    EXPECT_EQ(hudTextures.weaponWheelSprites[1].texture, nullptr);
    EXPECT_EQ(drawsOf("").size(), 1u); // the selector, drawn without a texture
}

// --- Its caption ---------------------------------------------------------------------------

class WeaponCaption : public WheelTest {
  protected:
    std::u16string captionFor(int32_t type) {
        sim::setWeapon(5, type);
        sim::setCurrentWeapon(5);
        sim::setMouseWheel(true, false);
        frameAt(startTime);
        const auto prints = sim::callsTo("printText");
        return prints.size() == 1 ? prints[0].text : u"<not printed once>";
    }
};

TEST_F(WeaponCaption, NamesWithoutAFinalCommaStopAtTheLastComma) {
    hudSettings.WEAPON_NAMES = "Fist,Bat,Pistol";
    EXPECT_EQ(captionFor(0), u"Fist");
    EXPECT_EQ(captionFor(1), u"Bat");
    EXPECT_EQ(captionFor(2), u"");
}

TEST_F(WeaponCaption, TheDefaultListNamesNothing) {
    EXPECT_EQ(captionFor(0), u"");
}

TEST_F(WeaponCaption, EntriesALaterListDoesNotReachKeepTheirNames) {
    hudSettings.WEAPON_NAMES = "Fist,Bat,Pistol,";
    EXPECT_EQ(captionFor(2), u"Pistol");
    hudSettings.WEAPON_NAMES = "Knuckles,";
    EXPECT_EQ(captionFor(0), u"Knuckles");
    EXPECT_EQ(captionFor(1), u"Bat");
    EXPECT_EQ(captionFor(2), u"Pistol");
}

TEST_F(WeaponCaption, ALongerListFillsTheThirteenEntriesAndDropsTheRest) {
    std::string names;
    for (int i = 0; i < 20; ++i)
        names += "w" + std::to_string(i) + ",";
    hudSettings.WEAPON_NAMES = names;
    EXPECT_EQ(captionFor(12), u"w12");
    EXPECT_EQ(captionFor(13), u"");
}

TEST_F(WeaponCaption, TypesOutsideTheTableGiveAnEmptyCaption) {
    hudSettings.WEAPON_NAMES = "a,b,c,d,e,f,g,h,i,j,k,l,m,n,o,";
    EXPECT_EQ(captionFor(12), u"m");
    EXPECT_EQ(captionFor(13), u"");
    EXPECT_EQ(captionFor(-1), u"");
    EXPECT_EQ(captionFor(0x7FFFFFFF), u"");
}

TEST_F(WeaponCaption, LongNamesAreCutAt4095Characters) {
    hudSettings.WEAPON_NAMES = std::string(5000, 'x') + ",";
    EXPECT_EQ(captionFor(0), std::u16string(4095, u'x'));
}

TEST_F(WeaponCaption, WithoutAPlayerTheWheelDrawsButPrintsNoCaption) {
    hudSettings.WEAPON_NAMES = "Fist,";
    sim::setWeapon(12, 3);
    sim::setCurrentWeapon(12);
    currentWeaponIndex = 7;
    sim::setPlayerPresent(false); // the record would be at address 0: any read of it faults
    sim::setMouseWheel(true, false);
    frameAt(startTime);
    EXPECT_TRUE(weaponWheelDrawn());
    EXPECT_TRUE(sim::callsTo("printText").empty());
    EXPECT_TRUE(sim::callsTo("setFont").empty());
    EXPECT_EQ(currentWeaponIndex, 0);
    EXPECT_TRUE(drawsOf("ring_iii/12").empty()); // no weapons without a player
    EXPECT_EQ(drawsOf("ring_iii/0").size(), 1u);
}

TEST_F(WeaponCaption, ACurrentRecordBeyondThePlayersRecordsIsNotRead) {
    hudSettings.WEAPON_NAMES = "Fist,";
    sim::setCurrentWeapon(200); // record 200 would lie past the end of the actor record
    sim::guardPlayerRecord();
    sim::setMouseWheel(true, false);
    frameAt(startTime);
    ASSERT_EQ(sim::callsTo("printText").size(), 1u);
    EXPECT_EQ(sim::callsTo("printText")[0].text, u"");
    EXPECT_EQ(currentWeaponIndex, 200);
}

} // namespace
} // namespace wheels_test
