// Loading and unloading the plug-in again and again leaves the game as it was and leaks nothing.
#include "sim/host_data.h"
#include "support/plugin_session.h"

#include <gtest/gtest.h>
#include <psapi.h>
#include <windows.h>

#include <vector>

namespace {

size_t privateBytes() {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                         sizeof counters);
    return counters.PrivateUsage;
}

DWORD handleCount() {
    DWORD count = 0;
    GetProcessHandleCount(GetCurrentProcess(), &count);
    return count;
}

std::vector<uint8_t> everySite() {
    std::vector<uint8_t> bytes;
    for (sim::Event event : sim::allEvents) {
        const auto site = sim::bytes(sim::siteOf(event), 5);
        bytes.insert(bytes.end(), site.begin(), site.end());
    }
    return bytes;
}

TEST(LoadCycles, AHundredLoadsAndUnloadsLeaveEverySiteAsItWasAndMemoryFlat) {
    testing_support::writeDataFile("tarvel_III.ini", "RELOAD_SETTINGS = yes\n");
    sim::layOut(sim::Build::v100);
    const auto sitesBefore = everySite();
    size_t memoryAfterFirst = 0;
    DWORD handlesAfterFirst = 0;
    for (int cycle = 1; cycle <= 100; ++cycle) {
        {
            testing_support::PluginSession plugin(sim::Build::v100, false);
            sim::fire(sim::Event::Start);
            sim::fire(sim::Event::RadarPatch);
            for (int frame = 0; frame < 3; ++frame) {
                sim::fire(sim::Event::HudDraw);
                sim::fire(sim::Event::PhoneDraw);
                sim::fire(sim::Event::ReloadKey);
            }
            sim::fire(sim::Event::Shutdown);
        }
        ASSERT_EQ(everySite(), sitesBefore) << "after cycle " << cycle;
        sim::clearCalls();
        if (cycle == 1) {
            memoryAfterFirst = privateBytes();
            handlesAfterFirst = handleCount();
            ASSERT_GT(memoryAfterFirst, 0u) << "the process reports no private memory";
            ASSERT_GT(handlesAfterFirst, 0u);
        }
    }
    EXPECT_LE(privateBytes(), memoryAfterFirst + 1024 * 1024) << "memory grows with each load";
    EXPECT_LE(handleCount(), handlesAfterFirst + 4) << "handles leak with each load";
    testing_support::removeDataFolder();
}

} // namespace
