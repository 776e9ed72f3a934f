// The game's interface for text, called directly: whatever text the plug-in's code hands it, the
// game's routines get at most 4095 characters, the longest its buffers take.
#include "host/host_interface.h"
#include "sim/sim.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

constexpr size_t longestGameText = 4095;
constexpr size_t lengths[] = {1, 4094, 4095, 4096, 4097, 70000};

TEST(HostText, AnEightBitTextReachesTheGameCutAt4095Characters) {
    sim::layOut(sim::Build::v100);
    for (const size_t length : lengths) {
        SCOPED_TRACE(length);
        const std::string text(length, 'k');
        std::vector<char16_t> converted(length + 1, u'#');
        sim::clearCalls();
        host::asciiToHostText(text.c_str(), converted.data());
        const size_t kept = std::min(length, longestGameText);
        const auto conversions = sim::callsTo("asciiToHost");
        ASSERT_EQ(conversions.size(), 1u);
        EXPECT_EQ(conversions[0].name, std::string(kept, 'k'));
        // What the game wrote: the kept characters and their end, nothing after.
        EXPECT_EQ(std::u16string(converted.data()), std::u16string(kept, u'k'));
    }
}

TEST(HostText, ASixteenBitTextReachesTheGameCutAt4095Characters) {
    sim::layOut(sim::Build::v100);
    for (const size_t length : lengths) {
        SCOPED_TRACE(length);
        sim::clearCalls();
        host::printHostText(10, 20, std::u16string(length, u'k').c_str());
        const auto prints = sim::callsTo("printText");
        ASSERT_EQ(prints.size(), 1u);
        EXPECT_EQ(prints[0].text, std::u16string(std::min(length, longestGameText), u'k'));
    }
}

} // namespace
