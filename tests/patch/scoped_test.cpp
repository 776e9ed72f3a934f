#include "patch/diversions.h"
#include "patch/scoped.h"
#include "sim/sim.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

constexpr uint32_t siteA = 0x620000;
constexpr uint32_t siteB = 0x620100;
const Bytes gameA = {0xE8, 0x01, 0x02, 0x03, 0x04};
const Bytes gameB = {0x55, 0x89, 0xE5, 0x53, 0x56};
const Bytes patched = {0xC3, 0x90, 0x90, 0x90, 0x90};

void put(uint32_t address, const Bytes& code) {
    std::memcpy(&sim::at<uint8_t>(address), code.data(), code.size());
}

void layOutSites() {
    sim::layOut(sim::Build::v100);
    put(siteA, gameA);
    put(siteB, gameB);
}

TEST(SavedBytes, RestoreWritesTheSavedBytesBackOnce) {
    layOutSites();
    patch::scoped_basic<5> saved;
    saved.save_bytes(siteA, 5, true);
    EXPECT_TRUE(saved.saved());
    put(siteA, patched);
    saved.restore_bytes();
    EXPECT_EQ(sim::bytes(siteA, 5), gameA);
    EXPECT_FALSE(saved.saved());

    put(siteA, patched);
    saved.restore_bytes();
    EXPECT_EQ(sim::bytes(siteA, 5), patched) << "a second restore wrote again";
}

TEST(SavedBytes, OnlyTheSavedCountIsWrittenBack) {
    layOutSites();
    patch::scoped_basic<5> saved;
    saved.save_bytes(siteA, 2, false);
    put(siteA, patched);
    saved.restore_bytes();
    EXPECT_EQ(sim::bytes(siteA, 5), (Bytes{gameA[0], gameA[1], 0x90, 0x90, 0x90}));
}

TEST(SavedBytes, RestoringAnEmptyObjectTouchesNothing) {
    layOutSites();
    patch::scoped_basic<5> empty;
    const Bytes before = sim::bytes(siteA - 8, 32);
    empty.restore_bytes();
    EXPECT_EQ(sim::bytes(siteA - 8, 32), before);
}

TEST(SavedBytes, DestroyingAnObjectThatHoldsBytesRestoresThem) {
    layOutSites();
    {
        patch::scoped_basic<5> saved;
        saved.save_bytes(siteA, 5, true);
        put(siteA, patched);
    }
    EXPECT_EQ(sim::bytes(siteA, 5), gameA);

    {
        patch::scoped_basic<5> restored;
        restored.save_bytes(siteA, 5, true);
        restored.restore_bytes();
        put(siteA, patched);
    }
    EXPECT_EQ(sim::bytes(siteA, 5), patched) << "destroying a restored object wrote again";
}

TEST(SavedBytes, SavingAgainFirstWritesTheHeldBytesBack) {
    layOutSites();
    patch::scoped_basic<5> saved;
    saved.save_bytes(siteA, 5, true);
    put(siteA, patched);
    saved.save_bytes(siteB, 5, true);
    EXPECT_EQ(sim::bytes(siteA, 5), gameA);
    EXPECT_EQ(saved.address(), siteB);
    put(siteB, patched);
    saved.restore_bytes();
    EXPECT_EQ(sim::bytes(siteB, 5), gameB);
}

TEST(SavedBytes, SavingTheSameSiteAgainSavesTheRestoredBytes) {
    layOutSites();
    patch::scoped_basic<5> saved;
    saved.save_bytes(siteA, 5, true);
    put(siteA, patched);
    saved.save_bytes(siteA, 5, true);
    EXPECT_EQ(Bytes(saved.saved_bytes(), saved.saved_bytes() + 5), gameA);
    put(siteA, patched);
    saved.restore_bytes();
    EXPECT_EQ(sim::bytes(siteA, 5), gameA);
}

// However many branches are in game code, one another program wrote over is seen at unload.
TEST(Diversions, ABranchRewrittenByAnotherProgramIsSeenAmongMany) {
    layOutSites();
    constexpr uint32_t firstSite = siteA + 0x200;
    std::array<patch::scoped_jump, 24> jumps;
    for (size_t i = 0; i < jumps.size(); ++i) {
        put(firstSite + 8 * i, gameB);
        jumps[i].write(firstSite + 8 * i, siteB);
    }
    EXPECT_FALSE(patch::any_diversion_rewritten());
    const uint32_t lastSite = firstSite + 8 * (jumps.size() - 1);
    const Bytes ours = sim::bytes(lastSite, 5);
    put(lastSite, patched);
    EXPECT_TRUE(patch::any_diversion_rewritten());
    put(lastSite, ours); // the other program leaves again: every jump goes back as written
}

} // namespace
