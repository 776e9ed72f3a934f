// The default scenario played with the real plug-in on the shipped configuration: each capture
// holds the elements it is there to show, where the configuration puts them (1280 x 720, where
// a horizontal layout unit is 1280/640 * 4/3 / (16/9) = 1.5 pixels, a vertical one
// 720/448 = 1.607 pixels, and a 1080 unit 720/1080 = 2/3 pixel).
#include "preview/preview_support.h"
#include "support/plugin_session.h"
#include "tools/preview/check/layout_check.h"
#include "tools/preview/scenario/scenario_player.h"

#include "config/hud_settings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>

using namespace preview;
using namespace preview_testing::colours;

namespace {

constexpr int W = 1280, H = 720;

float unitX(float v) {
    return v * 1.5f;
}
float unitY(float v) {
    return v * H / 448.0f;
}
int unit1080(float v) {
    return static_cast<int>(v * H / 1080.0f);
}

Rgba8 rgba(const Rgba& c) {
    return {c.r, c.g, c.b, c.a};
}

std::string shippedFolder() {
    return testing_support::gameDirectory() + "shipped\\";
}

// Pixels near a colour (each channel within the tolerance) in [x0, x1) x [y0, y1).
int countIn(const Image& image, int x0, int y0, int x1, int y1, Rgba8 colour, int tolerance = 8) {
    int count = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const Rgba8 c = image.at(x, y);
            count += std::abs(c.r - colour.r) <= tolerance &&
                     std::abs(c.g - colour.g) <= tolerance && std::abs(c.b - colour.b) <= tolerance;
        }
    return count;
}

// Pixels in [x0, x1) x [y0, y1) that something was drawn over.
int drawnIn(const Image& image, int x0, int y0, int x1, int y1) {
    static const Image scene = backdrop(W, H);
    int count = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const Rgba8 a = image.at(x, y), b = scene.at(x, y);
            count += std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b) > 24;
        }
    return count;
}

} // namespace

class DefaultScenario : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        namespace fs = std::filesystem;
        const std::string game = testing_support::gameDirectory();
        testing_support::removeDataFolder(); // leaves the shipped dictionaries
        for (const auto& entry : fs::directory_iterator(shippedFolder() + "tarvel_moravik"))
            fs::copy(entry.path(), game + "tarvel_moravik\\" + entry.path().filename().string(),
                     fs::copy_options::recursive);

        static Fonts fonts;
        fonts.load(game + "fonts\\");
        static DictionaryTextures textures;
        Scenario scenario;
        std::string error;
        ASSERT_TRUE(readScenario(shippedFolder() + "default.scenario", scenario, error)) << error;

        PlayOptions options;
        options.width = W;
        options.height = H;
        options.fonts = &fonts;
        options.textures = &textures;
        options.capture = [](const std::string& name, const Image& frame) {
            captures[name] = frame;
            return true;
        };
        options.layout = [](const CaptureLayout& layout) {
            layouts[layout.capture] = layout;
            return true;
        };
        ASSERT_TRUE(playScenario(scenario, options, error)) << error;

        loadSettingsWith(settings, [](const char* relative) {
            static std::string path;
            path = shippedFolder() + relative;
            return path.c_str();
        });
        testing_support::removeDataFolder();
    }

    static const Image& capture(const std::string& name) {
        static const Image none;
        auto found = captures.find(name);
        EXPECT_NE(found, captures.end()) << name << " was not captured";
        return found == captures.end() ? none : found->second;
    }

    static inline std::map<std::string, Image> captures;
    static inline std::map<std::string, CaptureLayout> layouts;
    static inline HudSettings settings;
};

TEST_F(DefaultScenario, TakesItsFiveCaptures) {
    std::vector<std::string> names;
    for (const auto& [name, frame] : captures) {
        names.push_back(name);
        EXPECT_EQ(frame.width, W);
        EXPECT_EQ(frame.height, H);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"big_message", "hud", "radio_wheel", "sniper_scope",
                                               "weapon_wheel"}));
}

TEST_F(DefaultScenario, HudShowsMoneyAndAmmoRightAlignedUnderTheStars) {
    const Image& hud = capture("hud");
    const auto& s = settings;
    // Wanted, so both move down by the transition gap: money's top at (30 + 15) * 1.607 = 72.
    const int right = static_cast<int>(W - unitX(s.MONEY_POS_RIGHT)); // 1280 - 49.5
    const int top = static_cast<int>(unitY(s.MONEY_POS_TOP + s.MONEY_TRANSITION_GAP));
    const int line = static_cast<int>(24 * unitY(s.MONEY_SCALE.y)); // 24 pixels a line at 1.0
    EXPECT_GT(countIn(hud, right - 150, top, right + 1, top + line, rgba(s.colors.MONEY_COLOR), 2),
              100);
    EXPECT_EQ(countIn(hud, right + 1, top, W, top + line, rgba(s.colors.MONEY_COLOR), 2), 0)
        << "right-justified: nothing of the money right of its x";
    // Ammo: rest and clip "72 14" in white, at (75 + 15) units down, money fully shown.
    const int ammoRight = static_cast<int>(W - unitX(s.WEAPON_AMMO_POS_RIGHT));
    const int ammoTop = static_cast<int>(unitY(s.WEAPON_AMMO_POS_TOP + s.MONEY_TRANSITION_GAP));
    EXPECT_GT(countIn(hud, ammoRight - 120, ammoTop, ammoRight + 1, ammoTop + line,
                      rgba(s.colors.AMMO_COLOR)),
              50);
}

TEST_F(DefaultScenario, HudShowsTwoWantedStarsOfSix) {
    const Image& hud = capture("hud");
    const auto& s = settings;
    // Star i spans W - u(R + SX + i SP) .. W - u(R + i SP), u(T) .. u(T + SY), u = 1080 units.
    auto centreOf = [&](int i) {
        const int left =
            W - unit1080(s.WANTED_POS_RIGHT + s.WANTED_STAR_SCALE.x + i * s.WANTED_STAR_SPACE);
        const int right = W - unit1080(s.WANTED_POS_RIGHT + i * s.WANTED_STAR_SPACE);
        const int top = unit1080(s.WANTED_POS_TOP);
        const int bottom = unit1080(s.WANTED_POS_TOP + s.WANTED_STAR_SCALE.y);
        return std::pair{(left + right) / 2, (top + bottom) / 2};
    };
    EXPECT_EQ(centreOf(0), (std::pair{1228, 37})); // (1217 + 1239) / 2, (26 + 48) / 2
    for (int i = 0; i < 2; ++i) {
        const auto [x, y] = centreOf(i);
        EXPECT_EQ(countIn(hud, x - 1, y - 1, x + 2, y + 2, rgba(s.colors.WANTED_COLOR)), 9) << i;
    }
    for (int i = 2; i < 6; ++i) {
        const auto [x, y] = centreOf(i);
        const Rgba8 slot = hud.at(x, y);
        EXPECT_LT(slot.r + slot.g + slot.b, 3 * 60) << "empty slot " << i << " is dark";
    }
}

TEST_F(DefaultScenario, HudShowsTheRadarMapPlacedAndSquaredByThePlugin) {
    const Image& hud = capture("hud");
    // The radar: left 53 * 2/3 = 35, width 258 * 2/3 = 172; top 720 - 233 * 2/3 = 565,
    // height 176 * 2/3 = 117: x 35..207, y 565..682, the centre (121, 623.5).
    EXPECT_EQ(hud.at(121, 623), white) << "the player at the radar's centre";
    const Rgba8 land{128, 120, 104, 255};
    EXPECT_GT(countIn(hud, 35, 565, 207, 682, land, 2), 172 * 117 / 4);
    EXPECT_EQ(countIn(hud, 210, 565, 260, 682, land, 2), 0) << "no map right of the radar";
    EXPECT_EQ(countIn(hud, 35, 540, 207, 562, land, 2), 0) << "no map above it";
    // A blip far to the east is held on the radar's right edge: radar point (2.65, 1.0) is
    // pulled to length sqrt 2, (1.324, 0.4997), then x to 1: screen x 207,
    // y (1 - 0.4997) * 0.5 * 117 + 565 = 594.3.
    EXPECT_GT(countIn(hud, 203, 590, 212, 599, {230, 60, 60, 255}, 2), 20);
}

TEST_F(DefaultScenario, HudShowsTheRadarFrameAndTheHealthAndArmourBars) {
    const Image& hud = capture("hud");
    const auto& s = settings;
    // Health 72: 72 * 0.25 + 72 = 90 units from x 49: pixels 32 .. 92; y 720 - 50 * 2/3 =
    // 687 .. 720 - 40 * 2/3 = 694.
    EXPECT_EQ(unit1080(s.BAR_HEALTH_POS_X_Y.x), 32);
    EXPECT_EQ(unit1080(s.BAR_HEALTH_POS_X_Y.x + 90), 92);
    EXPECT_EQ(countIn(hud, 34, 689, 90, 692, rgba(s.colors.RADAR_HEALTH_COLOR), 2), 56 * 3);
    EXPECT_EQ(countIn(hud, 93, 689, 120, 692, rgba(s.colors.RADAR_HEALTH_COLOR), 2), 0);
    // Armour 45: 45 * 1.25 = 56.25 units from x 183: pixels 122 .. 159.
    EXPECT_EQ(countIn(hud, 124, 689, 157, 692, rgba(s.colors.RADAR_ARMOR_COLOR), 2), 33 * 3);
    // The frame's rim and light border run round the radar: x 43 * 2/3 = 28 .. 317 * 2/3 = 211;
    // at least three of the six columns from its left edge in every row.
    EXPECT_GT(drawnIn(hud, 28, 560, 34, 690), 3 * 130);
}

TEST_F(DefaultScenario, HudShowsTheAreaNameAboveTheMissionTimers) {
    const Image& hud = capture("hud");
    const auto& s = settings;
    // Timers shown: the name sits 15 units higher, top at 720 - (15 + 40) * 1.607 = 631.6.
    const int right = static_cast<int>(W - unitX(s.ZONE_RIGHT));
    const int top =
        static_cast<int>(H - unitY(s.ZONE_VEHICLE_MISSION_TRANSITION_GAP + s.ZONE_BOTTOM));
    EXPECT_GT(countIn(hud, right - 300, top, right + 1, top + 40, rgba(s.colors.ZONE_COLOR)), 100);
}

TEST_F(DefaultScenario, HudShowsTheMissionTimerAndTheCounterLabel) {
    const Image& hud = capture("hud");
    const auto& s = settings;
    // Value and label end near x 1280 - 65 * 1.5 = 1182.5, top 720 - 115 * 1.607 = 535.2;
    // the counter row is 15 units higher.
    const int right = static_cast<int>(W - unitX(s.MISSIONTIMERS_POS_RIGHT));
    const int top = static_cast<int>(H - unitY(s.MISSIONTIMERS_POS_BOTTOM));
    EXPECT_GT(countIn(hud, right - 100, top, right + 1, top + 24, rgba(s.colors.TIMER_COLOR)), 40);
    const int counterTop =
        static_cast<int>(H - unitY(s.MISSIONDESCTIMERAB_GAP + s.MISSIONTIMERS_POS_BOTTOM));
    EXPECT_GT(countIn(hud, right - 100, counterTop, right + 1, counterTop + 22,
                      rgba(s.colors.COUNTER_COLOR)),
              20);
}

TEST_F(DefaultScenario, HudShowsThePagerHelpBoxCrosshairAndPhone) {
    const Image& hud = capture("hud");
    // Pager, slid fully in: x 26 * 1.5 = 39 .. 146 * 1.5 = 219, y 27 * 1.607 = 43.4 ..
    // 87 * 1.607 = 139.8; its screen at (0.8, 0.3) of the picture: (183, 72).
    EXPECT_EQ(countIn(hud, 182, 71, 185, 74, {150, 176, 118, 255}, 2), 9);
    EXPECT_GT(countIn(hud, 78, 87, 300, 115, rgba(settings.colors.PAGER_COLOR), 40), 40);
    // Help text in grey from x 26 * 1.5 = 39, top ((150 - 0) * 0.6 + 28) * 1.607 = 189.6.
    EXPECT_GT(countIn(hud, 39, 190, 369, 250, {175, 175, 175, 255}, 30), 200);
    // Crosshair at the aim point (0.53 * 1280, 0.45 * 720) = (678.4, 324), 12.8 units round.
    EXPECT_GT(countIn(hud, 660, 305, 698, 343, white, 2), 30);
    // Phone out: x 1280 - 346 * 2/3 = 1050 .. 1280 - 90 * 2/3 = 1220, top 720 - 400 * 2/3
    // = 454; its body at (0.1, 0.46) of the picture: (1067, 610).
    EXPECT_EQ(countIn(hud, 1066, 609, 1069, 612, {36, 38, 44, 255}, 2), 9);
    // Its clock on the phone's screen, right-justified at CLOCK_RIGHT, top at CLOCK_BOTTOM.
    const int clockRight = static_cast<int>(W - unitX(settings.CLOCK_RIGHT));
    const int clockTop = static_cast<int>(H - unitY(settings.CLOCK_BOTTOM));
    const Rgba8 clock = rgba(settings.colors.CLOCK_COLOR);
    EXPECT_GT(countIn(hud, clockRight - 80, clockTop, clockRight + 1, clockTop + 30, clock, 40),
              20);
    EXPECT_EQ(countIn(hud, clockRight + 3, clockTop, W, clockTop + 30, clock, 40), 0);
}

TEST_F(DefaultScenario, WeaponWheelShowsItsRingAndCaptionAtTheCentre) {
    const Image& wheel = capture("weapon_wheel");
    // Half size 360 / WEAP_WHEEL_SCALE_MULTIPLIER round (640, 360): the ring reaches nine
    // tenths of it above the centre, and nothing is drawn past it.
    const int half = static_cast<int>(H / 2 / settings.WEAP_WHEEL_SCALE_MULTIPLIER);
    EXPECT_GT(drawnIn(wheel, 630, H / 2 - half * 9 / 10 - 4, 650, H / 2 - half * 9 / 10 + 4), 80);
    EXPECT_EQ(drawnIn(wheel, 600, H / 2 - half * 11 / 10 - 8, 680, H / 2 - half * 11 / 10), 0);
    EXPECT_GT(countIn(wheel, 590, 360, 690, 400, white, 2), 40) << "Pistol, centred";
    EXPECT_EQ(countIn(capture("hud"), 590, 360, 690, 400, white, 2), 0);
}

TEST_F(DefaultScenario, RadioWheelShowsTheStationDiscNameAndVehicleName) {
    const Image& radio = capture("radio_wheel");
    // The logo of station 3 in W/2 +- 130 * 1.5, H/2 +- 130 * 1.607, at 192 alpha: a purple
    // badge, less a band through the middle kept clear for the caption.
    const Rgba8 badge = radio.at(562, 214);
    EXPECT_GT(badge.b, badge.r);
    EXPECT_GT(badge.r, badge.g);
    EXPECT_GT(drawnIn(radio, 460, 170, 820, 550), 360 * 380 * 2 / 3);
    EXPECT_GT(countIn(radio, 560, 360, 720, 400, white, 2), 40) << "K-Static, centred";
    const auto& s = settings;
    const int right = static_cast<int>(W - unitX(s.VEHICLE_RIGHT));
    const int top =
        static_cast<int>(H - unitY(s.ZONE_VEHICLE_MISSION_TRANSITION_GAP + s.VEHICLE_BOTTOM));
    EXPECT_GT(countIn(radio, right - 200, top, right + 1, top + 40, rgba(s.colors.VEHICLE_COLOR)),
              60)
        << "Ostrel";
}

TEST_F(DefaultScenario, BigMessageShowsTheCentreMessageTitleAndSubtitle) {
    const Image& big = capture("big_message");
    const auto& s = settings;
    // Centred on x 640, top 360 - 18 * 1.607 = 331.
    EXPECT_GT(countIn(big, 540, 331, 740, 370, rgba(s.colors.BIGMESSAGE_COLOR)), 100);
    // Title ends at MISSION_RIGHT, top (15 + MISSION_BOTTOM) units up: the timer lifts it.
    const int titleRight = static_cast<int>(W - unitX(s.MISSION_RIGHT));
    const int titleTop = static_cast<int>(H - unitY(15 + s.MISSION_BOTTOM));
    const Rgba8 title = rgba(s.colors.MISSIONTITLE_COLOR);
    EXPECT_GT(countIn(big, titleRight - 200, titleTop, titleRight + 1, titleTop + 40, title), 100);
    EXPECT_EQ(countIn(big, titleRight + 3, titleTop, titleRight + 10, titleTop + 40, title), 0)
        << "right-justified, clear of the phone";
    // Subtitle in light grey, top 720 - 50 * 1.607 + 4 * 1.607 - 1.607 = 644.5.
    EXPECT_GT(countIn(big, 300, 644, 980, 680, {235, 235, 235, 255}, 30), 100);
}

TEST_F(DefaultScenario, SniperScopeShowsFourMirroredQuarters) {
    const Image& scope = capture("sniper_scope");
    // Quarters of 210 units round the centre: x 640 -+ 315, y 360 -+ 337.5.
    EXPECT_EQ(scope.at(330, 30), black) << "outside the circle, upper left";
    EXPECT_EQ(scope.at(950, 30), black) << "upper right, mirrored";
    EXPECT_EQ(scope.at(330, 690), black) << "lower left, mirrored";
    EXPECT_EQ(scope.at(950, 690), black) << "lower right, mirrored both ways";
    EXPECT_EQ(drawnIn(scope, 480, 150, 520, 250), 0) << "the view inside the circle";
    // The cross lines meet at the centre from both quarters: x 639 and 640.
    EXPECT_EQ(scope.at(639, 200), black);
    EXPECT_EQ(scope.at(640, 200), black);
    EXPECT_EQ(scope.at(400, 359), black);
}

// Each thing drawn is traced back to the element whose source file drew it, also through shared
// helpers and calls the compiler made into jumps.
TEST_F(DefaultScenario, LayoutNamesTheElementThatDrewEachBox) {
    ASSERT_EQ(layouts.size(), 5u);
    std::multimap<std::string, std::string> drawn; // "hud: element" -> label
    for (const auto& [name, layout] : layouts) {
        EXPECT_EQ(layout.width, W);
        for (const DrawnBox& box : layout.boxes) {
            EXPECT_FALSE(box.element.empty()) << name << ": " << describe(box);
            drawn.emplace(name + ": " + box.element, box.label);
        }
    }
    auto drew = [&](const std::string& who, const std::string& label) {
        auto [from, to] = drawn.equal_range(who);
        for (auto it = from; it != to; ++it)
            if (it->second == label) return true;
        return false;
    };
    EXPECT_TRUE(drew("hud: pager", "tarvel_iii/pager"));
    EXPECT_TRUE(drew("hud: pager", "Meet me at the docks"));
    EXPECT_TRUE(drew("hud: mission timers", "02:15"));
    EXPECT_TRUE(drew("hud: mission timers", "Heat")) << "printed through a jump at its end";
    EXPECT_TRUE(drew("hud: phone", "21:37")) << "printed through the shared shadow helper";
    EXPECT_TRUE(drew("hud: area and vehicle names", "Harbour District"));
    EXPECT_TRUE(drew("hud: money and ammo", "$12450"));
    EXPECT_TRUE(drew("hud: help box", "Lose the cops before you go back to the garage."));
    EXPECT_TRUE(drew("weapon_wheel: weapon wheel", "Pistol"));
    EXPECT_TRUE(drew("radio_wheel: radio wheel", "K-Static"));
    EXPECT_TRUE(drew("big_message: big messages", "Mission passed!"));
    EXPECT_TRUE(drew("big_message: mission title", "The Getaway"));
    EXPECT_TRUE(
        drew("big_message: subtitles", "Bronn: You got the car? Good. Bring it round the back."));
    EXPECT_TRUE(drew("sniper_scope: crosshair", "tarvel_iii/sitesniper"));
}
