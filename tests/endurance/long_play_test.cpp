// Long play with every element on screen: the plug-in's memory, handles and game objects stay
// flat, and the game never receives anything it would choke on.
#include "sim/busy_game.h"
#include "sim/host_data.h"
#include "support/plugin_session.h"
#include "support/process_usage.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>

namespace {

using testing_support::nextHandleSlot;
using testing_support::privateBytes;

void playFrame() {
    sim::advanceBusyFrame();
    sim::holdBusyKeys();
    sim::clearCalls();
    sim::fire(sim::Event::HudDraw);
    sim::fire(sim::Event::PhoneDraw);
    sim::fire(sim::Event::ReloadKey);
}

bool drew(const char* routine, const std::string& what) {
    for (const auto& call : sim::calls()) {
        if (call.routine != routine) continue;
        std::string text(call.text.begin(), call.text.end());
        if (call.name.find(what) != std::string::npos || text.find(what) != std::string::npos)
            return true;
    }
    return false;
}

TEST(LongPlay, AHundredThousandBusyFramesLeakNothing) {
    testing_support::removeDataFolder();
    testing_support::writeDataFile(
        "tarvel_III.ini", "RELOAD_SETTINGS = yes\nWEAPON_NAMES = Fist,Bat,Pistol,\n"
                          "RADIO_NAMES = Harbour Sound,Tin Lantern FM,Rail Yard Radio,K-Static,\n");
    testing_support::PluginSession plugin(sim::Build::v100);
    sim::fire(sim::Event::Start);
    sim::fire(sim::Event::RadarPatch);
    sim::showEverything();

    // What each element draws, looked for over the first stretch of play.
    const struct {
        const char* element;
        const char* routine;
        const char* what;
    } elements[] = {
        {"money", "printText", "$12345"},
        {"ammo", "printText", "53 7"},
        {"wanted stars", "drawSpriteQuad", "/star"},
        {"radar frame", "drawSpriteQuad", "/blrect"},
        {"bars", "drawSpriteQuad", "/bar"},
        {"area name", "printText", "Tarvel Docks"},
        {"vehicle name", "printText", "Ostrel"},
        {"mission timer", "printText", "02:15"},
        {"counter bar", "drawPlainRectangle", ""},
        {"pager", "printText", "Meet me"},
        {"subtitle", "printText", "Get in the car."},
        {"help box", "printText", "fire button"},
        {"big message", "printText", "MISSION PASSED"},
        {"mission title", "printText", "Getaway"},
        {"clock", "printText", "13:37"},
        {"sniper scope", "drawSprite", "/sitesniper"},
        {"weapon wheel", "drawSpriteQuad", "ring_iii/sring"},
        {"phone", "drawSprite", "phone_iii/phone"},
    };
    bool seen[std::size(elements)] = {};

    size_t memory = 0;
    uint32_t handles = 0;
    for (int frame = 1; frame <= 100000; ++frame) {
        playFrame();
        if (frame <= 3000)
            for (size_t i = 0; i < std::size(elements); ++i)
                seen[i] = seen[i] || drew(elements[i].routine, elements[i].what);
        if (frame == 1000) {
            memory = privateBytes();
            handles = nextHandleSlot();
        }
    }
    EXPECT_LE(privateBytes(), memory + 256 * 1024) << "memory grows with play";
    EXPECT_LE(nextHandleSlot(), handles + 2) << "handles leak with play";
    for (size_t i = 0; i < std::size(elements); ++i)
        EXPECT_TRUE(seen[i]) << elements[i].element << " never drew";
    EXPECT_TRUE(sim::faults().empty());
    testing_support::removeDataFolder();
}

} // namespace
