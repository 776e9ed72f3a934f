#include "patch/hooking.h"
#include "sim/sim.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;
using Trace = std::vector<std::string>;
using patch::HookCallback;
using patch::NextStep;

// Each test takes its own event call sites of the simulated game, so a failure in one leaves
// the others' sites alone.
constexpr uint32_t start100 = 0x48D52F;
constexpr uint32_t hudDraw100 = 0x48E420;
constexpr uint32_t phoneDraw100 = 0x48E126;
constexpr uint32_t radarPatch100 = 0x50838D;
constexpr uint32_t shutdown100 = 0x48D540;
constexpr uint32_t reloadKey100 = 0x48E49B;
constexpr uint32_t start110 = 0x48D62F;
constexpr uint32_t hudDraw110 = 0x48E4E0;
constexpr uint32_t phoneDraw110 = 0x48E1E6;
constexpr uint32_t radarPatch110 = 0x50846D;
constexpr uint32_t shutdown110 = 0x48D640;
constexpr uint32_t noBranch = 0x630000;

template <uint32_t Address> using Hook = patch::site_hook<Address>;

void mark(const std::string& what) {
    sim::HostCall call;
    call.routine = what;
    sim::record(call);
}

// What ran, in order: callbacks' marks and the game's callees.
Trace trace() {
    Trace names;
    for (const sim::HostCall& call : sim::calls())
        names.push_back(call.routine);
    return names;
}

HookCallback around(const std::string& name) {
    return [name](NextStep next) {
        mark(name + " in");
        void* result = next();
        mark(name + " out");
        return result;
    };
}

HookCallback instead(const std::string& name, uint32_t value) {
    return [name, value](NextStep) {
        mark(name);
        return reinterpret_cast<void*>(value);
    };
}

template <uint32_t Address> uint32_t runChainOf() {
    return patch::code_address(&Hook<Address>::manager_type::run_chain);
}

uint32_t fire(uint32_t site) {
    sim::clearCalls();
    return sim::callAt(site);
}

class HookChain : public testing::Test {
  protected:
    void SetUp() override { sim::layOut(sim::Build::v100); }
};

TEST_F(HookChain, TheTestSitesAreTheSimulatedGamesCallSites) {
    EXPECT_EQ(sim::siteOf(sim::Event::Start, sim::Build::v100), start100);
    EXPECT_EQ(sim::siteOf(sim::Event::HudDraw, sim::Build::v100), hudDraw100);
    EXPECT_EQ(sim::siteOf(sim::Event::PhoneDraw, sim::Build::v100), phoneDraw100);
    EXPECT_EQ(sim::siteOf(sim::Event::RadarPatch, sim::Build::v100), radarPatch100);
    EXPECT_EQ(sim::siteOf(sim::Event::Shutdown, sim::Build::v100), shutdown100);
    EXPECT_EQ(sim::siteOf(sim::Event::ReloadKey, sim::Build::v100), reloadKey100);
    EXPECT_EQ(sim::siteOf(sim::Event::Start, sim::Build::v110), start110);
    EXPECT_EQ(sim::siteOf(sim::Event::HudDraw, sim::Build::v110), hudDraw110);
    EXPECT_EQ(sim::siteOf(sim::Event::PhoneDraw, sim::Build::v110), phoneDraw110);
    EXPECT_EQ(sim::siteOf(sim::Event::RadarPatch, sim::Build::v110), radarPatch110);
    EXPECT_EQ(sim::siteOf(sim::Event::Shutdown, sim::Build::v110), shutdown110);
}

TEST_F(HookChain, AttachDivertsTheCallAndDetachPutsTheGameBytesBack) {
    const Bytes game = sim::bytes(hudDraw100, 5);
    const uint32_t callee = patch::branch_target(hudDraw100);
    Hook<hudDraw100> hook;
    hook.attach(around("A"));

    EXPECT_TRUE(hook.installed());
    EXPECT_TRUE(hook.manager().installed());
    EXPECT_EQ(patch::branch_target(hudDraw100), runChainOf<hudDraw100>());
    EXPECT_EQ(sim::bytes(hudDraw100, 1)[0], 0xE8);
    EXPECT_EQ(hook.manager().previous_target(), callee);

    EXPECT_EQ(fire(hudDraw100), sim::calleeResult(sim::Event::HudDraw));
    EXPECT_EQ(trace(), (Trace{"A in", "callee", "A out"}));
    EXPECT_EQ(sim::calls()[1].object, hudDraw100);

    hook.detach();
    EXPECT_FALSE(hook.installed());
    EXPECT_FALSE(hook.manager().installed());
    EXPECT_EQ(sim::bytes(hudDraw100, 5), game);
    fire(hudDraw100);
    EXPECT_EQ(trace(), (Trace{"callee"}));
}

TEST_F(HookChain, ADivertedSiteWithAnEmptyChainCallsTheGameFunction) {
    Hook<phoneDraw100> hook;
    hook.attach(around("A"));
    ASSERT_TRUE(hook.manager().remove_entry(&hook));
    ASSERT_EQ(patch::branch_target(phoneDraw100), runChainOf<phoneDraw100>());

    EXPECT_EQ(fire(phoneDraw100), sim::calleeResult(sim::Event::PhoneDraw));
    EXPECT_EQ(trace(), (Trace{"callee"}));
    hook.manager().restore_bytes();
}

TEST_F(HookChain, TheLastAttachedRunsFirstAndEachNextStepRunsTheOneBefore) {
    const Bytes game = sim::bytes(start100, 5);
    Hook<start100> first, second;
    first.attach(around("A"));
    second.attach(around("B"));

    EXPECT_EQ(fire(start100), sim::calleeResult(sim::Event::Start));
    EXPECT_EQ(trace(), (Trace{"B in", "A in", "callee", "A out", "B out"}));

    first.detach();
    EXPECT_EQ(patch::branch_target(start100), runChainOf<start100>()) << "B is still attached";
    fire(start100);
    EXPECT_EQ(trace(), (Trace{"B in", "callee", "B out"}));

    second.detach();
    EXPECT_EQ(sim::bytes(start100, 5), game);
}

TEST_F(HookChain, ACallbackThatSkipsItsNextStepSuppressesTheGameAndEarlierCallbacks) {
    Hook<shutdown100> first, second;
    first.attach(around("A"));
    second.attach(instead("B", 0x5EED));

    EXPECT_EQ(fire(shutdown100), 0x5EEDu);
    EXPECT_EQ(trace(), (Trace{"B"}));
}

TEST_F(HookChain, ACallbackMayRunTheRestOfTheChainMoreThanOnce) {
    const uint32_t gameResult = sim::callAt(shutdown110);
    Hook<shutdown110> twice;
    twice.attach([](NextStep next) {
        next();
        return next();
    });
    EXPECT_EQ(fire(shutdown110), gameResult);
    EXPECT_EQ(trace(), (Trace{"callee", "callee"}));
}

TEST_F(HookChain, AttachingAgainReplacesTheCallbackInItsPlace) {
    Hook<radarPatch100> first, second;
    first.attach(around("A"));
    second.attach(around("B"));
    first.attach(around("A2"));

    EXPECT_EQ(first.manager().entry_count(), 2u);
    fire(radarPatch100);
    EXPECT_EQ(trace(), (Trace{"B in", "A2 in", "callee", "A2 out", "B out"}));
}

TEST_F(HookChain, ACopyTakesOverTheEntryAtTheEndAndTheSiteStaysDiverted) {
    Hook<reloadKey100> second;
    std::vector<Hook<reloadKey100>> storage;
    storage.reserve(1);
    {
        Hook<reloadKey100> temporary;
        temporary.attach(around("A"));
        second.attach(around("B"));
        storage.push_back(temporary);
        EXPECT_TRUE(storage.back().installed());
    }
    EXPECT_EQ(patch::branch_target(reloadKey100), runChainOf<reloadKey100>());
    EXPECT_EQ(second.manager().entry_count(), 2u);
    fire(reloadKey100);
    EXPECT_EQ(trace(), (Trace{"A in", "B in", "callee", "B out", "A out"}));

    storage.clear();
    second.detach();
}

TEST_F(HookChain, DestroyingTheLastHookPutsTheGameBytesBack) {
    const Bytes game = sim::bytes(start110, 5);
    {
        Hook<start110> hook;
        hook.attach(around("A"));
        ASSERT_NE(sim::bytes(start110, 5), game);
    }
    EXPECT_EQ(sim::bytes(start110, 5), game);
}

TEST_F(HookChain, DetachingThroughTheSavedBytesSlotPutsTheGameBytesBack) {
    const Bytes game = sim::bytes(hudDraw110, 5);
    Hook<hudDraw110> hook;
    hook.attach(around("A"));
    patch::scoped_base& patch = hook;
    patch.restore_bytes();
    EXPECT_FALSE(hook.installed());
    EXPECT_EQ(sim::bytes(hudDraw110, 5), game);
}

TEST_F(HookChain, RestoringTheManagerDropsTheWholeChain) {
    const Bytes game = sim::bytes(phoneDraw110, 5);
    Hook<phoneDraw110> first, second;
    first.attach(around("A"));
    second.attach(around("B"));

    first.manager().restore_bytes();
    EXPECT_EQ(sim::bytes(phoneDraw110, 5), game);
    EXPECT_EQ(first.manager().entry_count(), 0u);

    // The hooks no longer own entries, so detaching them leaves whatever the site holds now.
    sim::fillRecognisable(phoneDraw110, 5);
    first.detach();
    second.detach();
    EXPECT_EQ(sim::bytes(phoneDraw110, 5), Bytes(5, 0xCC));
}

TEST_F(HookChain, AttachingAgainAfterRestoringReadsTheSitesCallAnew) {
    Hook<radarPatch110> hook;
    hook.attach(around("A"));
    hook.detach();

    // The site now calls another of the game's functions.
    const uint32_t otherCallee = patch::branch_target(start100);
    patch::redirect_call(radarPatch110, otherCallee);
    const Bytes retargeted = sim::bytes(radarPatch110, 5);

    hook.attach(around("A"));
    EXPECT_EQ(hook.manager().previous_target(), otherCallee);
    EXPECT_EQ(patch::branch_target(radarPatch110), runChainOf<radarPatch110>());
    EXPECT_EQ(fire(radarPatch110), sim::calleeResult(sim::Event::Start));
    ASSERT_EQ(trace(), (Trace{"A in", "callee", "A out"}));
    EXPECT_EQ(sim::calls()[1].object, start100);

    hook.detach();
    EXPECT_EQ(sim::bytes(radarPatch110, 5), retargeted);
}

TEST_F(HookChain, ASiteWithoutARecognisedBranchIsLeftAlone) {
    const Bytes code = {0x90, 0x90, 0x90, 0x90, 0x90, 0xC3};
    std::memcpy(&sim::at<uint8_t>(noBranch), code.data(), code.size());
    Hook<noBranch> hook;
    hook.attach(around("A"));

    EXPECT_EQ(sim::bytes(noBranch, 6), code);
    EXPECT_FALSE(hook.manager().installed());
    EXPECT_FALSE(hook.manager().saved());
    hook.detach();
    EXPECT_EQ(sim::bytes(noBranch, 6), code);
}

TEST_F(HookChain, AnInstalledSiteHookLivesInTheSitesStorage) {
    const Bytes game = sim::bytes(hudDraw100, 5);
    patch::site_hook<hudDraw100>& stored =
        patch::install_site_hook<hudDraw100>(hudDraw100, around("event"));

    EXPECT_EQ(&stored, &patch::site_hooks<hudDraw100>().back());
    EXPECT_TRUE(stored.installed());
    EXPECT_EQ(stored.manager().entry_count(), 1u);
    EXPECT_EQ(fire(hudDraw100), sim::calleeResult(sim::Event::HudDraw));
    EXPECT_EQ(trace(), (Trace{"event in", "callee", "event out"}));

    stored.detach();
    EXPECT_EQ(sim::bytes(hudDraw100, 5), game);
}

} // namespace
