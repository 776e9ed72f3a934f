#pragma once
// Runs the two wheels as the frame does, against the simulated game, one test at a time.
#include "config/hud_settings.h"
#include "host/hud_textures.h"
#include "sim/host_data.h"
#include "sim/sim.h"
#include "wheels/screen_metrics.h"
#include "wheels/wheel_state.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace wheels_test {

constexpr uint32_t startTime = 100000;
constexpr int VK_RIGHT_BUTTON = 0x02;
constexpr int VK_MIDDLE_BUTTON = 0x04;

class WheelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // The previous test's dictionaries went with its game image.
        hudTextures.dictionariesHeld = false;
        sim::layOut(sim::Build::v100);
        constructHudSprites();
        loadHudTextures();
        hudSettings = HudSettings{};
        currentWeaponIndex = 0;
        weaponWheelVisible = false;
        radioWheelVisible = false;
        weaponWheelShown = {};
        radioWheelShown = {};
        weaponNameTable = {};
        radioNameTable = {};
        weaponPresent = {};
        sim::setClock(startTime);
        sim::clearCalls();
    }

    // One frame's wheels at the given time, with a fresh call log.
    void frameAt(uint32_t time) {
        sim::setClock(time);
        sim::clearCalls();
        computeScreenMetrics();
        runWeaponWheel();
        runRadioWheel();
    }

    static std::vector<sim::HostCall> drawsOf(const std::string& texture) {
        std::vector<sim::HostCall> found;
        for (const auto& call : sim::calls())
            if ((call.routine == "drawSpriteQuad" || call.routine == "drawSprite") &&
                call.name == texture)
                found.push_back(call);
        return found;
    }
    static bool weaponWheelDrawn() { return !drawsOf("ring_iii/sring").empty(); }
    static bool radioWheelDrawn() { return !sim::callsTo("drawSprite").empty(); }
    // The routines called, in order, from the first call to the given routine on.
    static std::vector<std::string> routinesFrom(const std::string& first) {
        std::vector<std::string> names;
        for (const auto& call : sim::calls())
            if (!names.empty() || call.routine == first) names.push_back(call.routine);
        return names;
    }
};

} // namespace wheels_test
