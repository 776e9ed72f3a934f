// The real plug-in, loaded into the simulated game: the name displays start from the game's own
// display values, taken at load, and only on a build whose addresses are all known; the names
// make room for a mission timer.
#include "names/name_test_support.h"
#include "sim/host_data.h"
#include "sim/host_names.h"
#include "sim/host_timers.h"
#include "support/plugin_session.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <set>

namespace {

using names_testing::nameAlpha;
using testing_support::PluginSession;

std::vector<names_testing::Printed> hudFrame() {
    sim::clearCalls();
    sim::fire(sim::Event::HudDraw);
    return names_testing::printedTexts();
}

class NamesInThePlugin : public testing::Test {
  protected:
    void SetUp() override {
        testing_support::removeDataFolder(); // shipped defaults
        sim::layOut(sim::Build::v100);
    }
    void TearDown() override { testing_support::removeDataFolder(); }
};

TEST_F(NamesInThePlugin, BusyGameDisplaysMakeTheFirstNamesReplaceWhatTheGameShowed) {
    // The game was fading names in: the first names of the plug-in replace them, starting at 0.
    sim::setNameSeeds({.areaState = 2, .vehicleState = 2});
    sim::setAreaName("Lindenmoor");
    sim::setVehicleName("Vireon");
    PluginSession plugin(sim::Build::v100, false);
    auto printed = hudFrame();
    EXPECT_EQ(nameAlpha(printed, u"Lindenmoor"), 0);
    EXPECT_EQ(nameAlpha(printed, u"Vireon"), 0);
    printed = hudFrame();
    EXPECT_EQ(nameAlpha(printed, u"Lindenmoor"), 5);
    EXPECT_EQ(nameAlpha(printed, u"Vireon"), 5);
}

TEST_F(NamesInThePlugin, TheGamesTimersCarryOverSoItsNamesRunOutOnTime) {
    // The game was showing both names with 10 ms of their hold left. Its area name is the
    // no-area text, its vehicle name "Vireon": the plug-in has seen both.
    sim::setNameSeeds({.areaState = 1,
                       .areaTimer = 9990,
                       .vehicleLast = sim::gameText("Vireon"),
                       .vehicleState = 1,
                       .vehicleTimer = 9990});
    sim::setAreaNamePointer(sim::noAreaSeenText);
    sim::setVehicleName("Vireon");
    PluginSession plugin(sim::Build::v100, false);
    // Frame 1 passes 10000 ms, frame 2 starts the fade out, frames 3..53 run it down to idle
    // (1000 / 20 = 50 frames, then below 0). The plug-in never had those texts: nothing shows.
    for (int i = 1; i <= 60; ++i) {
        const auto printed = hudFrame();
        ASSERT_EQ(nameAlpha(printed, u"Vireon"), -1);
    }
    // New names now find both displays idle and fade in at once. Had the timers started at 0,
    // the holds would still run and the new names would wait for the old ones to fade out.
    sim::setAreaName("Moravik");
    sim::setVehicleName("Ostrel");
    const auto printed = hudFrame();
    EXPECT_EQ(nameAlpha(printed, u"Moravik"), 5);
    EXPECT_EQ(nameAlpha(printed, u"Ostrel"), 5);
}

TEST_F(NamesInThePlugin, NamesMoveUpByTheTruncatedGapWhileTheGameShowsATimer) {
    testing_support::writeDataFile("tarvel_III.ini", "ZONE_VEHICLE_MISSION_TRANSITION_GAP = 15.9\n"
                                                     "ZONE_BOTTOM = 40\nVEHICLE_BOTTOM = 60\n");
    sim::setAreaName("Lindenmoor");
    sim::setVehicleName("Vireon");
    sim::showMissionTimer("", "00:42");
    sim::setFrameCounter(4); // a frame on which a blinking timer shows
    PluginSession plugin(sim::Build::v100, false);
    const auto printed = hudFrame();
    using names_testing::unitY;
    EXPECT_NEAR(names_testing::printsOf(printed, u"Lindenmoor").at(1).y, 1080 - (15 + 40) * unitY,
                1e-3);
    EXPECT_NEAR(names_testing::printsOf(printed, u"Vireon").at(1).y, 1080 - (15 + 60) * unitY,
                1e-3);
    EXPECT_EQ(names_testing::printsOf(printed, u"00:42").size(), 1u) << "the timer is drawn too";
}

// Records which watched pages of game memory anything touches: a watched page gives no access
// until its first touch, which is recorded and then let through.
class PageWatch {
  public:
    explicit PageWatch(const std::vector<uint32_t>& addresses) {
        for (uint32_t address : addresses)
            pages_.insert(address & ~0xFFFu);
        current = this;
        handler_ = AddVectoredExceptionHandler(1, onFault);
        for (uint32_t page : pages_) {
            DWORD previous = 0;
            VirtualProtect(reinterpret_cast<void*>(page), 0x1000, PAGE_NOACCESS, &previous);
            previous_[page] = previous;
        }
    }
    ~PageWatch() {
        for (uint32_t page : pages_)
            release(page);
        RemoveVectoredExceptionHandler(handler_);
        current = nullptr;
    }
    PageWatch(const PageWatch&) = delete;
    PageWatch& operator=(const PageWatch&) = delete;

    const std::set<uint32_t>& pages() const { return pages_; }
    const std::set<uint32_t>& touched() const { return touched_; }

  private:
    void release(uint32_t page) {
        DWORD ignored = 0;
        VirtualProtect(reinterpret_cast<void*>(page), 0x1000, previous_[page], &ignored);
    }
    static LONG CALLBACK onFault(EXCEPTION_POINTERS* info) {
        const auto* record = info->ExceptionRecord;
        if (!current || record->ExceptionCode != EXCEPTION_ACCESS_VIOLATION ||
            record->NumberParameters < 2)
            return EXCEPTION_CONTINUE_SEARCH;
        const uint32_t page = static_cast<uint32_t>(record->ExceptionInformation[1]) & ~0xFFFu;
        if (!current->pages_.count(page)) return EXCEPTION_CONTINUE_SEARCH;
        current->touched_.insert(page);
        current->release(page);
        return EXCEPTION_CONTINUE_EXECUTION;
    }

    static inline PageWatch* current = nullptr;
    void* handler_ = nullptr;
    std::set<uint32_t> pages_;
    std::set<uint32_t> touched_;
    std::map<uint32_t, DWORD> previous_;
};

// Whether a read of a page no one may read reaches the handlers as an access violation. Under an
// emulator of 32-bit code (QEMU's, on a kernel that runs no 32-bit programs) Wine is not told
// which fault a signal was and reports an illegal instruction, with no address to watch by.
void* faultProbe = nullptr;
DWORD faultSeen = 0;
LONG CALLBACK onProbeFault(EXCEPTION_POINTERS* info) {
    const DWORD code = info->ExceptionRecord->ExceptionCode;
    if (faultSeen != 0 ||
        (code != EXCEPTION_ACCESS_VIOLATION && code != EXCEPTION_ILLEGAL_INSTRUCTION))
        return EXCEPTION_CONTINUE_SEARCH;
    faultSeen = code;
    DWORD ignored = 0;
    VirtualProtect(faultProbe, 0x1000, PAGE_READONLY, &ignored);
    return EXCEPTION_CONTINUE_EXECUTION;
}
bool accessViolationsAreReported() {
    faultProbe = VirtualAlloc(nullptr, 0x1000, MEM_COMMIT | MEM_RESERVE, PAGE_NOACCESS);
    if (faultProbe == nullptr) return false;
    void* handler = AddVectoredExceptionHandler(1, onProbeFault);
    const volatile char read = *static_cast<volatile const char*>(faultProbe);
    (void)read;
    RemoveVectoredExceptionHandler(handler);
    VirtualFree(faultProbe, 0, MEM_RELEASE);
    return faultSeen == EXCEPTION_ACCESS_VIOLATION;
}

TEST(NameSeedReads, HappenAtLoadOnBuild100Only) {
    if (!accessViolationsAreReported())
        GTEST_SKIP() << "this machine reports no access violations to the program (32-bit code "
                        "under emulation): which pages the plug-in reads cannot be watched";
    for (sim::Build build :
         {sim::Build::v100, sim::Build::v110, sim::Build::v120, sim::Build::unknown}) {
        SCOPED_TRACE(static_cast<int>(build));
        sim::layOut(build);
        sim::setNameSeeds({.areaState = 1,
                           .areaTimer = 2,
                           .vehicleLast = 3,
                           .vehicleState = 4,
                           .vehicleTimer = 5});
        PageWatch watch(sim::nameSeedLocations());
        ASSERT_EQ(watch.pages().size(), 4u); // two of the five values share a page
        PluginSession plugin(build, false);
        if (build == sim::Build::v100)
            EXPECT_EQ(watch.touched(), watch.pages());
        else
            EXPECT_TRUE(watch.touched().empty());
    }
}

} // namespace
