// The layout check's rules on boxes laid out by hand, and on the real plug-in's drawing of a
// modder's mistakes.
#include "support/plugin_session.h"
#include "tools/preview/check/layout_check.h"
#include "tools/preview/scenario/scenario_player.h"

#include "config/hud_settings.h"
#include "texdict/texdict.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>

using namespace preview;

namespace {

constexpr auto Text = DrawnBox::Kind::Text;
constexpr auto Sprite = DrawnBox::Kind::Sprite;
constexpr auto Rectangle = DrawnBox::Kind::Rectangle;

// The findings on a 640 x 480 screen, in the order they were reported.
std::vector<LayoutFinding> checked(std::vector<DrawnBox> boxes) {
    CaptureLayout layout{"hud", 640, 480, std::move(boxes), {}};
    checkLayout(layout);
    return layout.findings;
}

// The boxes of each finding.
std::vector<std::vector<size_t>> findings(std::vector<DrawnBox> boxes) {
    std::vector<std::vector<size_t>> found;
    for (const auto& finding : checked(std::move(boxes)))
        found.push_back(finding.boxes);
    return found;
}

using Found = std::vector<std::vector<size_t>>;

} // namespace

TEST(LayoutCheck, ABarOnABackgroundOfItsOwnColourIsGone) {
    const std::vector<DrawnBox> bar{
        {"mission timers", Rectangle, 500, 400, 560, 410, "colour 220 172 2 255"},
        {"mission timers", Rectangle, 500, 400, 530, 410, "colour 220 172 2 255"}};
    const auto found = checked(bar);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].boxes, std::vector<size_t>{1});
    EXPECT_NE(found[0].keys.find("MISSIONTIMERBAR_FG"), std::string::npos) << found[0].keys;
    auto seen = bar;
    seen[1].label = "colour 0 106 164 255";
    EXPECT_EQ(findings(seen), Found{});
}

TEST(LayoutCheck, TextOverTextIsReportedUnlessOneElementPrintsPartOfItAgain) {
    EXPECT_EQ(findings({{"area and vehicle names", Text, 10, 10, 100, 30, "Harbour District"},
                        {"mission title", Text, 90, 25, 200, 45, "The Getaway"}}),
              (Found{{0, 1}}));
    EXPECT_EQ(findings({{"mission timers", Text, 500, 400, 560, 420, "02:15"},
                        {"mission timers", Text, 480, 400, 540, 420, "Escape"}}),
              (Found{{0, 1}}))
        << "a label over its own element's value";
    EXPECT_EQ(findings({{"money and ammo", Text, 500, 50, 560, 70, "72 14"},
                        {"money and ammo", Text, 540, 50, 560, 70, "14"},
                        {"phone", Text, 502, 302, 542, 322, "21:37"},
                        {"phone", Text, 500, 300, 540, 320, "21:37"}}),
              Found{})
        << "a part recoloured and a shadow";
    EXPECT_EQ(findings({{"subtitles", Text, 10, 10, 100, 30, "a"},
                        {"help box", Text, 99.5f, 29.5f, 150, 50, "b"}}),
              Found{})
        << "less than a pixel shared";
}

TEST(LayoutCheck, ATextUnderASpriteDrawnAfterItIsCoveredWhateverTextLiesOverIt) {
    // The clock moved under the pager: the pager's picture hides it, the pager's text is on it.
    const auto found = checked({{"phone", Text, 60, 40, 110, 60, "21:37"},
                                {"pager", Sprite, 20, 20, 200, 80, "tarvel_iii/pager"},
                                {"pager", Text, 60, 40, 170, 60, "Meet me"}});
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].message, "phone text \"21:37\" (60,40)-(110,60) is covered by pager "
                                "sprite tarvel_iii/pager (20,20)-(200,80)");
}

TEST(LayoutCheck, NamesOnlyKeysThatMoveThePartAndSaysWhichPicturesAreFixed) {
    std::vector<std::string> keys;
    for (const auto& finding :
         checked({{"phone", Sprite, 600, 300, 700, 560, "phone_iii/phone"},
                  {"phone", Text, 300, 470, 340, 490, "21:37"},
                  {"pager", Sprite, -10, 20, 170, 80, "tarvel_iii/pager"},
                  {"mission timers", Sprite, 630, 100, 650, 120, "tarvel_iii/timerbar"}}))
        keys.push_back(finding.keys);
    EXPECT_EQ(keys, (std::vector<std::string>{
                        "phone picture: fixed, no key moves or sizes it",
                        "phone clock: CLOCK_RIGHT, CLOCK_BOTTOM, CLOCK_SCALE",
                        "pager picture: fixed, no key moves or sizes it",
                        "mission timers' background: MISSIONTIMERS_BG_A, MISSIONTIMERS_BG_B, "
                        "MISSIONDESCTIMERAB_GAP"}));
}

TEST(LayoutCheck, ReportsTextAndSpritesPartlyOrEntirelyOffTheScreenButLetsThePhoneRiseFromBelow) {
    EXPECT_EQ(findings({{"phone", Text, 600, 470, 650, 479, "21:37"},
                        {"radar", Sprite, -20, 300, 100, 400, "tarvel_iii/blrect"},
                        {"phone", Sprite, 450, 300, 600, 560, "phone_iii/phone"},
                        {"phone", Sprite, 600, 300, 700, 400, "phone_iii/phone"},
                        {"crosshair", Rectangle, -10, -10, 700, 20, "rectangle"},
                        {"pager", Sprite, -200, 10, -100, 50, "tarvel_iii/pager"},
                        {"phone", Text, 400, 470, 440, 490, "21:38"},
                        {"money and ammo", Text, 650, 20, 700, 40, "$12450"},
                        {"phone", Sprite, 450, 500, 600, 760, "phone_iii/phone"}}),
              (Found{{0}, {1}, {3}, {5}, {6}, {7}}))
        << "the clock cut off by the lower edge is still reported; the phone put away is not";
    // Entirely off only when no pixel shows: a clock whose shadow falls below the edge, a
    // radar whose top row of pixels (centres at 479.5) is on the screen.
    const auto edge = checked({{"phone", Text, 604, 480, 634, 500, "21:37"},
                               {"phone", Text, 600, 476, 630, 496, "21:37"},
                               {"radar", Sprite, 10, 479.4f, 100, 600, "tarvel_iii/blrect"}});
    ASSERT_EQ(edge.size(), 2u);
    for (const auto& finding : edge)
        EXPECT_NE(finding.message.find("is partly outside"), std::string::npos) << finding.message;
}

TEST(LayoutCheck, ATextAndItsShadowAreOneFindingThatNamesTheKeysPlacingThem) {
    const auto found = checked({{"money and ammo", Text, 602, 22, 662, 42, "$12450"},
                                {"money and ammo", Text, 600, 20, 660, 40, "$12450"},
                                {"mission title", Text, 500, 30, 620, 45, "The Getaway"}});
    std::vector<std::string> messages, keys;
    for (const auto& finding : found) {
        messages.push_back(finding.message);
        keys.push_back(finding.keys);
    }
    EXPECT_EQ(messages,
              (std::vector<std::string>{
                  "mission title text \"The Getaway\" (500,30)-(620,45) is over money text "
                  "\"$12450\" (602,22)-(662,42)",
                  "money text \"$12450\" (602,22)-(662,42) is partly outside the screen"}));
    EXPECT_EQ(keys, (std::vector<std::string>{
                        "mission title: MISSION_BOTTOM, MISSION_RIGHT, BIGTEXT_SCALE; money: "
                        "MONEY_POS_TOP, MONEY_POS_RIGHT, MONEY_SCALE",
                        "money: MONEY_POS_TOP, MONEY_POS_RIGHT, MONEY_SCALE"}));
}

TEST(LayoutCheck, EveryKeyAFindingNamesIsOneTheHudReads) {
    std::vector<std::string> known;
    forEachSettingsField([&](std::string_view key, auto) { known.emplace_back(key); });
    const auto keys = placingKeys();
    ASSERT_FALSE(keys.empty());
    for (const auto& key : keys)
        EXPECT_NE(std::find(known.begin(), known.end(), key), known.end()) << key;
}

TEST(LayoutCheck, TextMustStayInsideTheSpriteUnderItsCentre) {
    EXPECT_EQ(findings({{"pager", Sprite, 20, 20, 200, 80, "tarvel_iii/pager"},
                        {"pager", Text, 60, 40, 260, 60, "Meet me at the docks"},
                        {"pager", Text, 60, 40, 170, 60, "Meet me"}}),
              (Found{{1, 0}}));
    EXPECT_EQ(findings({{"phone", Sprite, 450, 300, 600, 560, "phone_iii/phone"},
                        {"mission timers", Sprite, 470, 350, 590, 370, "tarvel_iii/timerbar"},
                        {"mission timers", Text, 480, 352, 580, 368, "Escape 02:15"},
                        {"area and vehicle names", Text, 350, 400, 620, 430, "Harbour District"}}),
              (Found{{3, 0}}))
        << "on two sprites at once, inside both; a name half over the phone";
    EXPECT_EQ(findings({{"crosshair", Sprite, 300, 220, 340, 260, "tarvel_iii/siteM16"},
                        {"big messages", Text, 200, 230, 440, 270, "Mission passed!"},
                        {"radar", Sprite, 10, 300, 150, 460, "tarvel_iii/blrect"},
                        {"subtitles", Text, 140, 440, 500, 460, "Bring it round the back."},
                        {"weapon wheel", Sprite, 0, 0, 640, 480, "ring_iii/sring"}}),
              Found{})
        << "over the crosshair, a sprite's edge, and under a wheel drawn after it";
    // A ring whose top-left quarter is see-through.
    const DrawnBox ring{
        "weapon wheel", Sprite, 100, 100, 300, 300, "ring_iii/sring", {false, true, true, true}, 2};
    EXPECT_EQ(findings({ring, {"money and ammo", Text, 110, 110, 230, 130, "$12450"}}), Found{})
        << "the text's centre over the see-through corner";
    EXPECT_EQ(findings({ring, {"money and ammo", Text, 250, 250, 330, 270, "$12450"}}),
              (Found{{1, 0}}));
}

TEST(LayoutCheck, SpritesAndRectanglesUnder16PixelsAcrossAreTooSmall) {
    EXPECT_EQ(findings({{"weapon wheel", Sprite, 316, 236, 324, 244, "ring_iii/sring"},
                        {"mission timers", Rectangle, 630, 470, 639, 479, "rectangle"},
                        {"radar", Sprite, 10, 470, 26, 472, "tarvel_iii/bar"},
                        {"wanted stars", Sprite, 600, 10, 615.5f, 25.5f, "tarvel_iii/star"}}),
              (Found{{0}, {1}, {3}}));
}

// A modder's mistake in the shipped files, as the real plug-in draws it: the default scenario up
// to its HUD capture at 1280 x 720, checked. Each mistake is one finding that names its keys.
class ModdersMistake : public testing::Test {
  protected:
    struct Reported {
        std::string message, keys;
        size_t boxes;
    };

    // The findings with keys of the shipped layout and colour files set to other values, and
    // textures of tarvel_iii.txd replaced, at a capture of the default scenario.
    static std::vector<Reported> findingsWith(const std::map<std::string, std::string>& changed,
                                              const std::string& capture = "hud",
                                              const std::vector<texdict::Texture>& replaced = {}) {
        namespace fs = std::filesystem;
        const std::string game = testing_support::gameDirectory();
        const std::string shipped = game + "shipped\\";
        testing_support::removeDataFolder();
        for (const std::string file : {"tarvel_III.ini", "color_configs\\VColors.ini"}) {
            std::ifstream in(shipped + "tarvel_moravik\\" + file);
            std::string text, line;
            while (std::getline(in, line)) {
                const std::string key = line.substr(0, line.find_first_of(" ="));
                const auto value = changed.find(key);
                text += (value == changed.end() ? line : key + " = " + value->second) + "\n";
            }
            testing_support::writeDataFile(file, text);
        }
        if (!replaced.empty()) {
            // The folder's dictionary is a link to the build's: replaced, not written through.
            const std::string placed = game + "tarvel_moravik\\tarvel_iii.txd";
            texdict::Dictionary dictionary;
            std::string error;
            EXPECT_TRUE(texdict::readFile(placed, dictionary, error)) << error;
            for (const auto& texture : replaced)
                for (auto& present : dictionary.textures)
                    if (present.name == texture.name) present = texture;
            fs::remove(placed);
            EXPECT_TRUE(texdict::writeBytes(fs::path(placed), texdict::write(dictionary)));
        }

        static Fonts fonts;
        if (!fonts.faces[0].loaded()) fonts.load(game + "fonts\\");
        DictionaryTextures textures;
        Scenario scenario;
        std::string error;
        EXPECT_TRUE(readScenario(shipped + "default.scenario", scenario, error)) << error;
        const auto hud =
            std::find_if(scenario.steps.begin(), scenario.steps.end(), [&](const Step& s) {
                return s.command == Command::Capture && s.text == capture;
            });
        scenario.steps.erase(hud + 1, scenario.steps.end());

        std::vector<Reported> found;
        PlayOptions options;
        options.width = 1280;
        options.height = 720;
        options.fonts = &fonts;
        options.textures = &textures;
        options.layout = [&](const CaptureLayout& captured) {
            for (const auto& finding : captured.findings)
                found.push_back({finding.message, finding.keys, finding.boxes.size()});
            return true;
        };
        EXPECT_TRUE(playScenario(scenario, options, error)) << error;
        testing_support::removeDataFolder();
        return found;
    }

    // Exactly one finding, whose message holds the words and whose keys hold the key.
    static void expectOne(const std::vector<Reported>& found, const std::string& words,
                          const std::string& key) {
        ASSERT_EQ(found.size(), 1u)
            << (found.empty() ? "none" : found[0].message + "\n" + found.back().message);
        EXPECT_NE(found[0].message.find(words), std::string::npos) << found[0].message;
        EXPECT_NE(found[0].keys.find(key), std::string::npos) << found[0].keys;
    }
};

TEST_F(ModdersMistake, TwoElementsClashOnceHoweverManyPiecesEachDraws) {
    expectOne(findingsWith({{"WANTED_POS_TOP", "900"}, {"WANTED_POS_RIGHT", "1630"}}),
              "wanted stars sprite tarvel_iii/star", "WANTED_STAR_SCALE");
    // The money under the stars: one clash, whichever of the two is looked at.
    expectOne(findingsWith({{"MONEY_POS_TOP", "4"},
                            {"WANTED_POS_TOP", "62"},
                            {"WANTED_POS_RIGHT", "140"},
                            {"WANTED_STAR_SCALE", "30 30"}}),
              "money text", "WANTED_STAR_SCALE");
    // The ammo's two pieces, "72 14" and the magazine's "14" printed again, over the money.
    expectOne(findingsWith({{"WEAPON_AMMO_POS_TOP", "32"}}), "is over", "WEAPON_AMMO_POS_TOP");
}

TEST_F(ModdersMistake, AnElementWithNoPixelOnTheScreenIsGone) {
    expectOne(findingsWith({{"MONEY_POS_TOP", "2e9"}}), "money text \"$12450\" (far off screen)",
              "MONEY_POS_TOP");
    expectOne(findingsWith({{"BIGTEXT_SCALE", "0 1.5"}}), "has no width", "BIGTEXT_SCALE");
    expectOne(findingsWith({{"MISSIONTIMERBAR_FG", "0 106 164 0"}}), "is fully transparent",
              "MISSIONTIMERBAR_FG");
}

TEST_F(ModdersMistake, SpritesDrawnTheOtherWayAreMirrored) {
    expectOne(findingsWith({{"WANTED_STAR_SCALE", "-33.33 -33.33"}}), "upside down",
              "WANTED_STAR_SCALE");
    expectOne(findingsWith({{"BAR_THICKNESS", "-10"}}), "upside down", "BAR_THICKNESS");
}

TEST_F(ModdersMistake, ATextOutOfItsPanelsScreen) {
    // Still inside the pager's picture, but over the rim round its screen.
    expectOne(findingsWith({{"SUBTEXT_SCALE", "0.18 0.5"}}), "runs out of the screen",
              "SUBTEXT_SCALE");
}

TEST_F(ModdersMistake, ATextureTheGameCannotUseIsNamedOnceWithEverySpriteDrawnFromIt) {
    texdict::Texture star{"star", 100, 60, std::vector<uint8_t>(100 * 60 * 4, 255), ""};
    const auto found = findingsWith({}, "hud", {star});
    expectOne(found,
              "is drawn from tarvel_iii.txd, where 'star' is 100 x 60: the game takes "
              "sides that are powers of two from 1 to 1024; make it 128 x 64",
              "");
    EXPECT_GT(found[0].boxes, 1u) << "both stars of the two wanted levels";
}

TEST_F(ModdersMistake, CharactersTheFontCannotDrawAreNamed) {
    std::string names;
    for (int i = 0; i < 14; ++i)
        names += "\xD0\x9F\xD0\xB8\xD1\x81 \xE6\x89\x8B,"; // "Пис 手": the face has no 手
    expectOne(findingsWith({{"WEAPON_NAMES", names}}, "weapon_wheel"),
              "holds characters its font has no letter for, each drawn as an empty box: "
              "\xE6\x89\x8B",
              "");
}

TEST(LayoutCheck, PartsDrawnAsOneThingMustMeet) {
    const std::vector<DrawnBox> timers{
        {"mission timers", Sprite, 500, 400, 600, 420, "tarvel_iii/timerbar"},
        {"mission timers", Text, 540, 402, 596, 418, "02:15"},
        {"radar", Sprite, 20, 300, 180, 460, "tarvel_iii/radardisc"},
        {"radar", Sprite, 30, 440, 80, 447, "tarvel_iii/bar"}};
    EXPECT_EQ(findings(timers), Found{});
    auto apart = timers;
    apart[1].left -= 200;
    apart[1].right -= 200;
    const auto found = checked(apart);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].boxes, (std::vector<size_t>{0, 1}));
    EXPECT_NE(found[0].message.find("has none of the timers' text on it"), std::string::npos)
        << found[0].message;
    EXPECT_NE(found[0].keys.find("MISSIONTIMERS_POS_RIGHT"), std::string::npos) << found[0].keys;
    EXPECT_NE(found[0].keys.find("MISSIONTIMERS_BG_A"), std::string::npos) << found[0].keys;
    // A bar beside the frame by its thickness still belongs to it; far off it does not.
    apart = timers;
    apart[3].left = 190;
    apart[3].right = 240;
    EXPECT_EQ(findings(apart), Found{});
    apart[3].left = 300;
    apart[3].right = 350;
    const auto bars = checked(apart);
    ASSERT_EQ(bars.size(), 1u);
    EXPECT_EQ(bars[0].boxes, (std::vector<size_t>{3, 2}));
    EXPECT_NE(bars[0].message.find("stands away from the radar's frame"), std::string::npos);
    EXPECT_NE(bars[0].keys.find("BAR_HEALTH_POS_X_Y"), std::string::npos) << bars[0].keys;
    // No timer running: a background alone is no finding of this kind.
    EXPECT_EQ(findings({timers[0]}), Found{});
}

TEST_F(ModdersMistake, PartsOfOneThingMovedApartAreNamed) {
    const auto named = [](const std::vector<Reported>& found, const std::string& words,
                          const std::string& key) {
        return std::any_of(found.begin(), found.end(), [&](const Reported& r) {
            return r.message.find(words) != std::string::npos &&
                   r.keys.find(key) != std::string::npos;
        });
    };
    const auto shipped = findingsWith({});
    EXPECT_FALSE(named(shipped, "has none of the timers' text", "") ||
                 named(shipped, "stands away from the radar", ""));
    EXPECT_TRUE(named(findingsWith({{"MISSIONTIMERS_POS_RIGHT", "250"}}),
                      "has none of the timers' text on it", "MISSIONTIMERS_POS_RIGHT"));
    EXPECT_TRUE(named(findingsWith({{"BAR_HEALTH_POS_X_Y", "700 40"}}),
                      "stands away from the radar's frame", "BAR_HEALTH_POS_X_Y"));
}
