#pragma once
// What the message drawers printed, read back from the game's call log.
#include "config/hud_settings.h"
#include "sim/host_data.h"
#include "sim/host_messages.h"
#include "sim/sim.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace messages_test {

// One printed text with the colour the game's text state had when it was printed.
struct Printed {
    std::string text;
    float x = 0, y = 0;
    sim::Colour colour;
};

std::vector<Printed> printed();
std::vector<Printed> printedText(const std::string& text);
// The alpha of the last print of text, or -1 when it was not printed.
int printedAlpha(const std::string& text);
std::string narrow(const std::u16string& text);

// A fresh build-100 game on a 1920 x 1080 screen, 20 ms frames, default settings.
class MessagesTest : public testing::Test {
  protected:
    void SetUp() override {
        sim::layOut(sim::Build::v100);
        hudSettings = HudSettings{};
    }
};

} // namespace messages_test
