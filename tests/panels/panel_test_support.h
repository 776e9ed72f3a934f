#pragma once
// White-box set-up for the panel drawers, and what they asked the game to print.
#include "config/hud_settings.h"
#include "host/hud_textures.h"
#include "hud/hud_drawers.h"
#include "hud/money_ammo_panels.h"
#include "sim/host_data.h"
#include "sim/host_panels.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

// On the default 1920 x 1080 screen UnitX(v) = v x 1080 / 480 and UnitY(v) = v x 1080 / 448.
constexpr double unitX = 1080.0 / 480.0;
constexpr double unitY = 1080.0 / 448.0;

// A fresh build-100 game with sprites and textures, default settings, both panels hidden.
class PanelTest : public testing::Test {
  protected:
    void SetUp() override {
        sim::layOut(sim::Build::v100);
        hudSettings = HudSettings{};
        moneyPanel = ammoPanel = {};
        hudTextures.dictionariesHeld = false; // they went with the earlier layout
        constructHudSprites();
        loadHudTextures();
        sim::clearCalls();
    }
};

// A printed text with the text colour in force when it was printed.
struct Printed {
    std::string text;
    double x, y;
    sim::Colour colour;
};

inline std::vector<Printed> printed() {
    std::vector<Printed> out;
    sim::Colour colour{};
    for (const auto& call : sim::calls()) {
        if (call.routine == "setTextColour") colour = call.colour;
        if (call.routine == "printText")
            out.push_back({std::string(call.text.begin(), call.text.end()), call.numbers[0],
                           call.numbers[1], colour});
    }
    return out;
}

inline std::vector<std::string> printedTexts() {
    std::vector<std::string> texts;
    for (const auto& p : printed())
        texts.push_back(p.text);
    return texts;
}

// The i-th printed text, or a failure and a text that matches nothing.
inline Printed printedAt(size_t i) {
    const auto texts = printed();
    if (i < texts.size()) return texts[i];
    ADD_FAILURE() << "fewer than " << i + 1 << " texts printed";
    return {"", NAN, NAN, {}};
}

// The first call to a routine, or a failure and a call whose figures match nothing.
inline sim::HostCall firstCallTo(const char* routine) {
    const auto found = sim::callsTo(routine);
    if (!found.empty()) return found[0];
    ADD_FAILURE() << "no call to " << routine;
    sim::HostCall none;
    none.numbers.assign(8, NAN);
    return none;
}
