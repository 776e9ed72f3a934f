// The phone through the real plug-in and its own drawing event: P takes it out, O puts it away,
// and its screen shows the time of day.
#include "aim/aim_test_support.h"
#include "sim/host_clock.h"
#include "sim/host_data.h"
#include "support/plugin_session.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <tuple>

namespace {

using aim_testing::expectRect;
using testing_support::PluginSession;

// On the default 1920 x 1080 screen Unit1080(v) is v itself, so the phone spans x 1920 - 346 =
// 1574 to 1920 - 90 = 1830, and a phone edge v units up sits at y = 1080 - v.
constexpr double phoneLeft = 1574;
constexpr double phoneRight = 1830;
constexpr double outBottom = 1080 + 112; // -112 units: its lower part is below the screen
constexpr double outTop = 1080 - 400;

class PhoneTest : public testing::Test {
  protected:
    void SetUp() override {
        testing_support::removeDataFolder();
        start();
    }
    void TearDown() override { testing_support::removeDataFolder(); }

    // Loads the plug-in and starts the game with the layout file as it is now.
    void start() {
        session.reset();
        session = std::make_unique<PluginSession>();
        sim::fire(sim::Event::Start);
        sim::setTimeOfDay(7, 5);
    }

    // One phone event at the given game time with P and O as given.
    static void frameAt(uint32_t now, bool p = false, bool o = false) {
        sim::setClock(now);
        sim::setKey('P', p);
        sim::setKey('O', o);
        sim::clearCalls();
        sim::fire(sim::Event::PhoneDraw);
    }

    static std::vector<sim::HostCall> phones() { return sim::callsTo("drawSprite"); }
    static std::vector<sim::HostCall> prints() { return sim::callsTo("printText"); }
    // The clock's bottom in layout units, from the clock's own print: y = 1080 - UnitY(bottom).
    static double clockBottom(const sim::HostCall& print) {
        return (1080 - print.numbers[1]) * 448 / 1080;
    }

    // A frame at a game time, the phone it should show and the clock's bottom.
    struct Step {
        uint32_t now;
        double bottom, top, clock;
    };
    static void expectSteps(std::initializer_list<Step> steps, uint32_t holdPAt = 0) {
        for (const Step& step : steps) {
            SCOPED_TRACE(step.now);
            frameAt(step.now, step.now == holdPAt);
            ASSERT_EQ(phones().size(), 1u);
            expectRect(phones()[0], phoneLeft, step.bottom, phoneRight, step.top);
            ASSERT_EQ(prints().size(), 2u);
            EXPECT_NEAR(clockBottom(prints()[1]), step.clock, 1e-3);
        }
    }

    std::unique_ptr<PluginSession> session;
};

TEST_F(PhoneTest, ClosedPhoneDrawsNothingButLooksItsPictureUp) {
    frameAt(0); // the phone starts put away, even at game time 0
    EXPECT_TRUE(phones().empty());
    EXPECT_TRUE(prints().empty());
    frameAt(1000);
    EXPECT_TRUE(phones().empty());
    EXPECT_TRUE(prints().empty());
    const auto lookups = sim::callsTo("findTexture");
    ASSERT_EQ(lookups.size(), 1u);
    EXPECT_EQ(lookups[0].name, "phone");
}

TEST_F(PhoneTest, FirstFrameAfterP) {
    frameAt(1000, true);
    // Checked by hand: r = 100512, so the phone spans 99888 - r = -624 to 100400 - r = -112 units,
    // y 1080 + 624 = 1704 to 1080 + 112 = 1192. The clock sits at CLOCK_RIGHT 4 and
    // CLOCK_BOTTOM - 512 + 0 = -508: x = 1920 - 4 * 2.25 = 1911, y = 1080 + 508 * 1080 / 448 =
    // 2304.643; the shadow 2 units (4.5 and 4.821 px) right and down. The text scale is
    // (0.31 * 2.25, 0.6 * 1080 / 448) = (0.6975, 1.446), the first a hair under 0.6975 in single
    // precision (0.69749999); the colour VColors' default.
    EXPECT_EQ(aim_testing::logFrom("drawSprite"),
              "drawSprite(1574.000, 1704.000, 1830.000, 1192.000, 'phone_iii/phone', "
              "rgba(255 255 255 255))\n"
              "textSwitch501C80()\n"
              "textSwitch501CB0()\n"
              "textSwitch501CF0()\n"
              "setTextScale(0.697, 1.446)\n"
              "textSwitch501D40()\n"
              "textSwitch501D90()\n"
              "setFont(0.000)\n"
              "setRightJustifyOn()\n"
              "setRightJustifyWidth(0.000)\n"
              "asciiToHost('07:05')\n"
              "setTextColour(rgba(0 0 0 255))\n"
              "printText(1915.500, 2309.464, \"07:05\")\n"
              "setTextColour(rgba(194 165 120 255))\n"
              "printText(1911.000, 2304.643, \"07:05\")\n");
}

TEST_F(PhoneTest, PSlidesItUpOver512MillisecondsAndShowsItUntil100512) {
    frameAt(1000, true);
    expectSteps(
        {
            // r = 100256: -368 and 144 units; the clock at 4 - 512 + 256.
            {1256, 1080 + 368, 1080 - 144, 4 - 256},
            // r = 100000, the last slide frame, already at the out position.
            {1512, outBottom, outTop, 4},
            {1513, outBottom, outTop, 4},
            {60000, outBottom, outTop, 4},
            {101512, outBottom, outTop, 4},
        },
        60000); // P held again changes nothing
    // Time is up: gone at once, without sliding down.
    frameAt(101513);
    EXPECT_TRUE(phones().empty());
    EXPECT_TRUE(prints().empty());
    frameAt(102000);
    EXPECT_TRUE(phones().empty());

    // P works again once the time has passed.
    frameAt(102100, true);
    ASSERT_EQ(phones().size(), 1u);
    expectRect(phones()[0], phoneLeft, 1080 + 624, phoneRight, 1080 + 112);
}

TEST_F(PhoneTest, OPutsItAwayWithA512MillisecondSlideAfterRelease) {
    frameAt(1000, true);
    frameAt(5000, false, true);
    // While O is down the out picture and the slide's first picture coincide, both drawn.
    ASSERT_EQ(phones().size(), 2u);
    expectRect(phones()[0], phoneLeft, outBottom, phoneRight, outTop);
    expectRect(phones()[1], phoneLeft, outBottom, phoneRight, outTop);
    frameAt(5100, false, true); // still held: the slide starts again from the top
    ASSERT_EQ(phones().size(), 2u);

    expectSteps({
        // r2 = 256: 256 - 624 = -368 and 256 - 112 = 144 units; the clock at 4 - (512 - 256).
        {5356, 1080 + 368, 1080 - 144, 4 - 256},
        // r2 = 0: back below the screen, where the slide up began.
        {5612, 1080 + 624, 1080 + 112, 4 - 512},
    });
    frameAt(5613);
    EXPECT_TRUE(phones().empty());
}

TEST_F(PhoneTest, OWinsOverP) {
    frameAt(1000, true, true);
    // Not the slide up of P: the out picture twice, then the slide down on release.
    ASSERT_EQ(phones().size(), 2u);
    expectRect(phones()[0], phoneLeft, outBottom, phoneRight, outTop);
    frameAt(1256);
    ASSERT_EQ(phones().size(), 1u);
    expectRect(phones()[0], phoneLeft, 1080 + 368, phoneRight, 1080 - 144);
    frameAt(1513);
    EXPECT_TRUE(phones().empty());
}

TEST_F(PhoneTest, ClassicRadarUsesItsOwnPictureAndMovesTheClockFiveUnitsLeft) {
    testing_support::writeDataFile("tarvel_III.ini", "RADAR_TYPE = 1\n");
    testing_support::writeDataFile("color_configs\\IIIColors.ini", "CLOCK_COLOR = 1 2 3 128\n");
    start();
    frameAt(1000, true);
    frameAt(2000);
    ASSERT_EQ(phones().size(), 1u);
    EXPECT_EQ(phones()[0].name, "phone_iii/phone_class");
    // CLOCK_RIGHT 4 + 5: x = 1920 - 9 * 2.25 = 1899.75, 5 * 2.25 px left of 1911.
    ASSERT_EQ(prints().size(), 2u);
    EXPECT_NEAR(prints()[0].numbers[0], 1899.75 + 4.5, 1e-3);
    EXPECT_NEAR(prints()[1].numbers[0], 1899.75, 1e-3);
    const auto colours = sim::callsTo("setTextColour");
    ASSERT_EQ(colours.size(), 2u);
    EXPECT_EQ(colours[1].colour, (sim::Colour{1, 2, 3, 128})); // alpha and all
}

TEST_F(PhoneTest, ClockPrintsHourAndMinuteWithTwoDigitsEach) {
    frameAt(1000, true);
    for (auto [hour, minute, text] :
         {std::tuple{0, 0, u"00:00"}, std::tuple{9, 30, u"09:30"}, std::tuple{23, 59, u"23:59"}}) {
        sim::setTimeOfDay(static_cast<uint8_t>(hour), static_cast<uint8_t>(minute));
        frameAt(3000);
        ASSERT_EQ(prints().size(), 2u);
        EXPECT_EQ(prints()[0].text, text); // the shadow
        EXPECT_EQ(prints()[1].text, text);
    }
}

TEST_F(PhoneTest, NotDrawnWhileTheHudIsHiddenOrAMenuIsUpOrDrawingIsSuppressed) {
    frameAt(1000, true);
    const std::function<void(bool)> gates[] = {[](bool on) { sim::setHudShown(!on); },
                                               [](bool on) { sim::setMenuActive(on); },
                                               [](bool on) { sim::setHudSuppressed(on); }};
    for (const auto& gate : gates) {
        gate(true);
        frameAt(3000);
        EXPECT_EQ(sim::countCalls("findTexture"), 0u);
        EXPECT_TRUE(phones().empty());
        EXPECT_TRUE(prints().empty());
        gate(false);
        frameAt(3000);
        EXPECT_EQ(phones().size(), 1u);
    }
}

} // namespace
