// Loading and unloading the plug-in again and again leaves the game as it was and leaks nothing.
#include "sim/host_data.h"
#include "support/plugin_session.h"
#include "support/process_usage.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

namespace {

using testing_support::nextHandleSlot;
using testing_support::privateBytes;

std::vector<uint8_t> everySite() {
    std::vector<uint8_t> bytes;
    for (sim::Event event : sim::allEvents) {
        const auto site = sim::bytes(sim::siteOf(event), 5);
        bytes.insert(bytes.end(), site.begin(), site.end());
    }
    return bytes;
}

struct Growth {
    size_t memory;
    uint32_t handles;
};

// Runs twenty load cycles, then a hundred; returns how much the process grew over the hundred.
// The first cycles may be served from heap space that earlier tests freed, which hides how fast
// the loader alone grows by a varying amount; after twenty, both grow at their steady rate.
template <class Cycle> Growth growthOver100Cycles(Cycle cycle) {
    constexpr int settling = 20;
    size_t memoryAfterFirst = 0;
    uint32_t handlesAfterFirst = 0;
    for (int i = 1; i <= settling + 100; ++i) {
        cycle(i);
        sim::clearCalls();
        if (i == settling) {
            memoryAfterFirst = privateBytes();
            handlesAfterFirst = nextHandleSlot();
        }
    }
    EXPECT_GT(memoryAfterFirst, 0u) << "the process reports no private memory";
    return {privateBytes() - memoryAfterFirst, nextHandleSlot() - handlesAfterFirst};
}

TEST(LoadCycles, AHundredLoadsAndUnloadsLeaveEverySiteAsItWasAndLeakNoMoreThanTheRuntimeItself) {
    testing_support::writeDataFile("tarvel_III.ini", "RELOAD_SETTINGS = yes\n");
    sim::layOut(sim::Build::v100);
    const auto sitesBefore = everySite();

    // The loader and the static runtime keep a little of every load (under Wine, two handles
    // and some thread-local storage); a DLL that only carries the runtime shows how much.
    const Growth loader = growthOver100Cycles([](int) {
        HMODULE empty = LoadLibraryA("empty_plugin.dll");
        ASSERT_NE(empty, nullptr);
        FreeLibrary(empty);
    });

    const Growth plugin = growthOver100Cycles([&](int cycle) {
        {
            testing_support::PluginSession session(sim::Build::v100, false);
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
    });

    EXPECT_LE(plugin.memory, loader.memory + 256 * 1024) << "memory grows with each load";
    EXPECT_LE(plugin.handles, loader.handles + 2) << "handles leak with each load";
    testing_support::removeDataFolder();
}

} // namespace
