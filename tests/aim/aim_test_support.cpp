#include "aim/aim_test_support.h"

#include <gtest/gtest.h>

namespace aim_testing {

std::vector<std::string> drawingCalls() {
    std::vector<std::string> drawn;
    for (const auto& call : sim::calls()) {
        if (call.routine == "setRenderState")
            drawn.push_back(sim::describe(call));
        else if (call.routine == "drawSprite" || call.routine == "drawTintedSprite")
            drawn.push_back(call.routine);
    }
    return drawn;
}

std::string withoutObject(const sim::HostCall& call) {
    sim::HostCall copy = call;
    copy.object = 0;
    return sim::describe(copy);
}

std::string logFrom(const std::string& routine) {
    std::string text;
    bool started = false;
    for (const auto& call : sim::calls()) {
        started = started || call.routine == routine;
        if (started) text += withoutObject(call) + "\n";
    }
    return text;
}

uint32_t rasterOf(const HostSprite& sprite) {
    return sprite.texture ? *static_cast<const uint32_t*>(sprite.texture) : 0;
}

void expectRect(const sim::HostCall& call, double left, double bottom, double right, double top) {
    ASSERT_EQ(call.numbers.size(), 4u) << sim::describe(call);
    EXPECT_NEAR(call.numbers[0], left, 0.01) << "left";
    EXPECT_NEAR(call.numbers[1], bottom, 0.01) << "bottom";
    EXPECT_NEAR(call.numbers[2], right, 0.01) << "right";
    EXPECT_NEAR(call.numbers[3], top, 0.01) << "top";
}

} // namespace aim_testing
