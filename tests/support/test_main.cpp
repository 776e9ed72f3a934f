#include "sim/sim.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    // Whatever the game would choke on fails the running test, in every test.
    sim::setFaultHandler(
        [](const std::string& fault) { ADD_FAILURE() << "the game received " << fault; });
    return RUN_ALL_TESTS();
}
