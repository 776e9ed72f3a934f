// The simulated game notices what would crash the real one.
#include "sim/sim.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

void ignoreFault(const std::string&) {}
void failTest(const std::string& fault) {
    ADD_FAILURE() << "the game received " << fault;
}

class Faults : public testing::Test {
  protected:
    void SetUp() override {
        sim::layOut(sim::Build::v100);
        sim::setFaultHandler(ignoreFault);
    }
    void TearDown() override { sim::setFaultHandler(failTest); }
};

using TextScale = void(__attribute__((cdecl)) *)(float, float);
using TextColour = void(__attribute__((cdecl)) *)(const void*);

TEST_F(Faults, ANonFiniteNumberIsAFault) {
    const auto setTextScale = reinterpret_cast<TextScale>(0x501B80);
    setTextScale(1.0f, 2.0f);
    EXPECT_TRUE(sim::faults().empty());
    setTextScale(NAN, 2.0f);
    setTextScale(1.0f, INFINITY);
    EXPECT_EQ(sim::faults().size(), 2u);
}

TEST_F(Faults, APointerToNoReadableMemoryIsAFault) {
    const auto setTextColour = reinterpret_cast<TextColour>(0x501BD0);
    const unsigned char colour[4] = {1, 2, 3, 4};
    setTextColour(colour);
    EXPECT_TRUE(sim::faults().empty());
    setTextColour(nullptr);
    setTextColour(reinterpret_cast<const void*>(0x10));
    EXPECT_EQ(sim::faults().size(), 2u);
    sim::clearFaults();
    EXPECT_TRUE(sim::faults().empty());
}

} // namespace
