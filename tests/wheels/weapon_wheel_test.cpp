#include "sim/host_guarded_player.h"
#include "wheel_test_support.h"

namespace wheels_test {
namespace {

using ::testing::ElementsAre;
using ::testing::FloatNear;
using ::testing::Pointwise;

class WeaponWheel : public WheelTest {};

TEST_F(WeaponWheel, ATriggerShowsItForOneSecondAndFurtherTriggersKeepIt) {
    for (int key : std::vector<int>{VK_MIDDLE_BUTTON, '1', 0}) {
        weaponWheelShown = {};
        sim::setMouseWheel(key == 0, false);
        if (key) sim::setKey(key, true);
        frameAt(startTime);
        EXPECT_TRUE(weaponWheelDrawn()) << key;
        if (key) sim::setKey(key, false);
    }
    sim::setMouseWheel(false, true);
    frameAt(startTime + 600);
    sim::setMouseWheel(false, false);
    frameAt(startTime + 600 + 1000);
    EXPECT_TRUE(weaponWheelDrawn());
    frameAt(startTime + 600 + 1001);
    EXPECT_FALSE(weaponWheelDrawn());
    EXPECT_FALSE(weaponWheelVisible);
}

TEST_F(WeaponWheel, TheRightButtonHidesItAtOnceAndStopsRefreshes) {
    sim::setMouseWheel(true, false);
    frameAt(startTime);
    ASSERT_TRUE(weaponWheelDrawn());
    sim::setKey(VK_RIGHT_BUTTON, true); // still turning
    frameAt(startTime + 400);
    EXPECT_FALSE(weaponWheelDrawn());
    sim::setKey(VK_RIGHT_BUTTON, false);
    sim::setMouseWheel(false, false);
    frameAt(startTime + 500);
    EXPECT_TRUE(weaponWheelDrawn());
    frameAt(startTime + 1001); // not 400 + 1000: the blocked turn refreshed nothing
    EXPECT_FALSE(weaponWheelDrawn());
}

TEST_F(WeaponWheel, RingSelectorCaptionThenSegmentsOnTheFrameGeometry) {
    hudSettings.WEAP_WHEEL_SCALE_MULTIPLIER = 2.0f; // half side 540 / 2 = 270
    hudSettings.colors.WHEEL_BG = {1, 2, 3, 4};
    hudSettings.colors.WHEELINDICATOR = {5, 6, 7, 8};
    sim::setWeapon(3, 9);
    sim::setCurrentWeapon(3);
    sim::setMouseWheel(true, false);
    frameAt(startTime);
    EXPECT_THAT(routinesFrom("drawSpriteQuad"),
                ElementsAre("drawSpriteQuad", "drawSpriteQuad", "setCentreOn", "setTextColour",
                            "setFont", "setDropShadowOffset", "setDropShadowColour", "setTextScale",
                            "textSwitch501DA0", "printText", "drawSpriteQuad", "drawSpriteQuad",
                            "findTexture")); // then the radio wheel's icon

    // Turned by 11/7: cos * 270 = -0.17071, sin * 270 = 269.99995.
    const double c = -0.17071, s = 269.99995;
    const std::vector<double> fixed = {960 + (c - s), 540 + (c + s), 960 + (c + s), 540 + (s - c),
                                       960 - (s + c), 540 + (c - s), 960 - (c - s), 540 - (c + s)};
    const auto quads = sim::callsTo("drawSpriteQuad");
    EXPECT_EQ(quads[0].name, "ring_iii/sring");
    EXPECT_THAT(quads[0].numbers, Pointwise(FloatNear(0.001), fixed));
    EXPECT_EQ(quads[0].colour, (sim::Colour{1, 2, 3, 4}));
    // The selector follows the previous frame's index: 0, an unturned square.
    EXPECT_EQ(quads[1].name, "ring_iii/shl");
    EXPECT_THAT(quads[1].numbers, ElementsAre(960 + 270, 540 + 270, 960 + 270, 540 - 270, 960 - 270,
                                              540 + 270, 960 - 270, 540 - 270));
    EXPECT_EQ(quads[1].colour, (sim::Colour{5, 6, 7, 8}));
    for (int i : {2, 3}) {
        EXPECT_EQ(quads[i].numbers, quads[0].numbers);
        EXPECT_EQ(quads[i].colour, (sim::Colour{255, 255, 255, 255}));
    }
    EXPECT_EQ(quads[2].name, "ring_iii/3");
    EXPECT_EQ(quads[3].name, "ring_iii/0");

    EXPECT_EQ(sim::callsTo("setTextColour")[0].colour, (sim::Colour{255, 255, 255, 255}));
    EXPECT_THAT(sim::callsTo("setFont")[0].numbers, ElementsAre(2));
    EXPECT_THAT(sim::callsTo("setDropShadowOffset")[0].numbers, ElementsAre(1));
    EXPECT_EQ(sim::callsTo("setDropShadowColour")[0].colour, (sim::Colour{0, 0, 0, 255}));
    // AMMO_SCALE 0.4263 0.82: 0.4263 * 1080 / 480 wide, 0.82 * 1080 / 448 high.
    EXPECT_THAT(
        sim::callsTo("setTextScale")[0].numbers,
        Pointwise(FloatNear(1e-4), std::vector<double>{0.4263 * 1080 / 480, 0.82 * 1080 / 448}));
    EXPECT_THAT(sim::callsTo("printText")[0].numbers, ElementsAre(1920 / 2, 1080 / 2));

    // Index 3 turns the selector by 3 * 660/1260 = 11/7 in the next frame: the fixed square.
    frameAt(startTime + 20);
    EXPECT_THAT(sim::callsTo("drawSpriteQuad")[1].numbers, Pointwise(FloatNear(0.001), fixed));
}

TEST_F(WeaponWheel, SegmentsForCarriedRecordsAndTwelveOrZeroNeverBoth) {
    sim::setWeapon(1, 1);
    sim::setWeapon(4, 4);
    sim::setWeapon(11, 11);
    sim::setWeapon(7, 0x100); // only the type's low byte counts: not carried
    sim::setMouseWheel(true, false);
    frameAt(startTime);
    const auto segments = [] {
        std::vector<std::string> names;
        for (const auto& quad : sim::callsTo("drawSpriteQuad"))
            if (quad.name != "ring_iii/sring" && quad.name != "ring_iii/shl")
                names.push_back(quad.name);
        return names;
    };
    EXPECT_THAT(segments(), ElementsAre("ring_iii/1", "ring_iii/4", "ring_iii/11", "ring_iii/0"));
    sim::setWeapon(12, 12);
    frameAt(startTime + 20);
    EXPECT_THAT(segments(), ElementsAre("ring_iii/1", "ring_iii/4", "ring_iii/11", "ring_iii/12"));
}

TEST_F(WeaponWheel, TexturesAreLookedUpOnEveryRunShownOrNot) {
    sim::removeTexture("ring_iii", "shl");
    frameAt(startTime); // hidden
    ASSERT_FALSE(weaponWheelDrawn());
    std::vector<std::string> names;
    for (const auto& call : sim::callsTo("findTexture"))
        if (call.object == reinterpret_cast<uint32_t>(hudTextures.ringDictionary))
            names.push_back(call.name);
    EXPECT_THAT(names, ElementsAre("sring", "shl"));
    EXPECT_EQ(sim::textureName(reinterpret_cast<uint32_t>(&hudTextures.weaponWheelSprites[0])),
              "ring_iii/sring");
    EXPECT_EQ(hudTextures.weaponWheelSprites[1].texture, nullptr); // the dictionary lacks it
}

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

TEST_F(WeaponCaption, NamesEndAtCommasAndEntriesNotReachedKeepTheirs) {
    EXPECT_EQ(captionFor(0), u""); // the default list, "Nullss", names nothing
    hudSettings.WEAPON_NAMES = "Fist,Bat,Pistol";
    EXPECT_EQ(captionFor(0), u"Fist");
    EXPECT_EQ(captionFor(1), u"Bat");
    EXPECT_EQ(captionFor(2), u"");
    hudSettings.WEAPON_NAMES = "Knuckles,";
    EXPECT_EQ(captionFor(0), u"Knuckles");
    EXPECT_EQ(captionFor(1), u"Bat");
}

TEST_F(WeaponCaption, ExtraNamesAreDroppedAndTypesOutsideTheTableGiveEmptyText) {
    std::string names;
    for (int i = 0; i < 20; ++i)
        names += "w" + std::to_string(i) + ",";
    hudSettings.WEAPON_NAMES = names;
    EXPECT_EQ(captionFor(12), u"w12");
    EXPECT_EQ(captionFor(13), u"");
    EXPECT_EQ(captionFor(-1), u"");
    EXPECT_EQ(captionFor(0x7FFFFFFF), u"");
}

TEST_F(WeaponCaption, WithoutAPlayerTheWheelDrawsButNoCaptionAndNoRecordIsRead) {
    hudSettings.WEAPON_NAMES = "Fist,";
    sim::setWeapon(12, 3);
    currentWeaponIndex = 7;
    sim::setPlayerPresent(false); // the record would be at address 0: any read of it faults
    sim::setMouseWheel(true, false);
    frameAt(startTime);
    EXPECT_TRUE(weaponWheelDrawn());
    EXPECT_TRUE(sim::callsTo("printText").empty());
    EXPECT_TRUE(sim::callsTo("setFont").empty());
    EXPECT_EQ(currentWeaponIndex, 0);
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
