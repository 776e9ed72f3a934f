#include "patch/branch.h"
#include "sim/sim.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

constexpr uint32_t low = 0x401000;
constexpr uint32_t high = 0x500000;
constexpr uint32_t scratch = 0x600000;
constexpr uint32_t pointerSlot = 0x610000;

void put(uint32_t address, const Bytes& code) {
    std::memcpy(&sim::at<uint8_t>(address), code.data(), code.size());
}

TEST(Redirect, CallForwardAndBackwardEncodesTheSignedDisplacement) {
    sim::layOut(sim::Build::v100);
    patch::redirect_call(low, high);
    EXPECT_EQ(sim::bytes(low, 5), (Bytes{0xE8, 0xFB, 0xEF, 0x0F, 0x00}));
    patch::redirect_call(high, low);
    EXPECT_EQ(sim::bytes(high, 5), (Bytes{0xE8, 0xFB, 0x0F, 0xF0, 0xFF}));
}

TEST(Redirect, JumpForwardAndBackward) {
    sim::layOut(sim::Build::v100);
    patch::redirect_jump(low, high);
    EXPECT_EQ(sim::bytes(low, 5), (Bytes{0xE9, 0xFB, 0xEF, 0x0F, 0x00}));
    patch::redirect_jump(high, low);
    EXPECT_EQ(sim::bytes(high, 5), (Bytes{0xE9, 0xFB, 0x0F, 0xF0, 0xFF}));
}

TEST(Redirect, OnlyTheFiveBytesOfTheInstructionChange) {
    sim::layOut(sim::Build::v100);
    sim::fillRecognisable(scratch - 4, 16);
    patch::redirect_call(scratch, high);
    EXPECT_EQ(sim::bytes(scratch - 4, 4), Bytes(4, 0xCC));
    EXPECT_EQ(sim::bytes(scratch + 5, 7), Bytes(7, 0xCC));
}

TEST(Redirect, CallReturnsWhereTheInstructionWentBefore) {
    sim::layOut(sim::Build::v100);
    const uint32_t site = sim::siteOf(sim::Event::HudDraw);
    const uint32_t hostCallee = patch::branch_target(site);
    ASSERT_NE(hostCallee, 0u);
    EXPECT_EQ(patch::redirect_call(site, high), hostCallee);
    EXPECT_EQ(patch::redirect_call(site, low), high);
}

TEST(Redirect, CallOverUnrecognisedCodeReturnsZeroAndStillWrites) {
    sim::layOut(sim::Build::v100);
    put(scratch, Bytes(5, 0x90));
    EXPECT_EQ(patch::redirect_call(scratch, high), 0u);
    EXPECT_EQ(patch::branch_target(scratch), high);
}

TEST(BranchTarget, RelativeCallAndJumpCountFromTheNextInstruction) {
    sim::layOut(sim::Build::v100);
    put(scratch, {0xE8, 0x10, 0x00, 0x00, 0x00});
    EXPECT_EQ(patch::branch_target(scratch), scratch + 5 + 0x10);
    put(scratch, {0xE9, 0x00, 0x00, 0xF0, 0xFF});
    EXPECT_EQ(patch::branch_target(scratch), scratch + 5 - 0x100000);
}

TEST(BranchTarget, DisplacementMinusFiveIsTheInstructionItself) {
    sim::layOut(sim::Build::v100);
    put(scratch, {0xE8, 0xFB, 0xFF, 0xFF, 0xFF});
    EXPECT_EQ(patch::branch_target(scratch), scratch);
    put(scratch, {0xE9, 0xFB, 0xFF, 0xFF, 0xFF});
    EXPECT_EQ(patch::branch_target(scratch), scratch);
}

TEST(BranchTarget, ThroughPointerFormsGiveTheValueStoredAtThePointer) {
    sim::layOut(sim::Build::v100);
    sim::at<uint32_t>(pointerSlot) = 0x00ABCDEF;
    for (uint8_t form : {0x15, 0x25}) {
        put(scratch, {0xFF, form, 0x00, 0x00, 0x61, 0x00});
        EXPECT_EQ(patch::branch_target(scratch), 0x00ABCDEFu) << int(form);
    }
}

TEST(BranchTarget, OtherInstructionsAreNotBranches) {
    sim::layOut(sim::Build::v100);
    sim::at<uint32_t>(pointerSlot) = 0x00ABCDEF;
    const Bytes others[] = {
        {0xFF, 0xD0, 0x00, 0x00, 0x61, 0x00}, // call eax
        {0xFF, 0x35, 0x00, 0x00, 0x61, 0x00}, // push [pointer]
        {0xEB, 0x10, 0x00, 0x00, 0x00, 0x00}, // short jmp
        {0x90, 0x90, 0x90, 0x90, 0x90, 0x90}, // nops
    };
    for (const Bytes& code : others) {
        put(scratch, code);
        EXPECT_EQ(patch::branch_target(scratch), 0u) << int(code[0]) << " " << int(code[1]);
    }
}

} // namespace
