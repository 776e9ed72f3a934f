#pragma once
// What the frame, radar and texture tests share: the white-box fixture and a short, address-free
// description of the game calls a test looks at.
#include "sim/sim.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace frame_test {

// The plug-in's library, driven directly: build 100 laid out afresh, the plug-in's globals as at
// load, its sprites constructed by the game and no data folder (every setting at its default).
class WhiteBox : public testing::Test {
  protected:
    void SetUp() override;
};

// One line per call as the simulator describes it, without the object address, which
// differs from run to run.
std::string line(const sim::HostCall& call);
// The lines of every logged call to one of the routines, in log order.
std::string linesOf(std::initializer_list<std::string_view> routines);
// The routine names of the whole log, in order.
std::vector<std::string> routineNames();

} // namespace frame_test
