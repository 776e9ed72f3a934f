#include "patch/memory.h"
#include "sim/sim.h"

#include <gtest/gtest.h>

#include <vector>
#include <windows.h>

namespace {

using Bytes = std::vector<uint8_t>;

constexpr uint32_t pageSize = 0x1000;
constexpr uint32_t firstPage = 0x700000;
constexpr uint32_t secondPage = firstPage + pageSize;

DWORD protectionAt(uint32_t address) {
    MEMORY_BASIC_INFORMATION info{};
    VirtualQuery(reinterpret_cast<void*>(address), &info, sizeof info);
    return info.Protect;
}

// Gives host pages a protection for one test and puts the image's own back afterwards, so the
// next layout can write everywhere again.
class PageProtection {
  public:
    PageProtection(uint32_t page, DWORD protection) : page_(page), original_(protectionAt(page)) {
        set(protection);
    }
    ~PageProtection() { set(original_); }
    void set(DWORD protection) const {
        DWORD previous = 0;
        VirtualProtect(reinterpret_cast<void*>(page_), pageSize, protection, &previous);
    }

  private:
    uint32_t page_;
    DWORD original_;
};

TEST(Memory, WritingIntoReadOnlyCodePutsItsProtectionBack) {
    sim::layOut(sim::Build::v100);
    const PageProtection code(firstPage, PAGE_EXECUTE_READ);
    ASSERT_EQ(protectionAt(firstPage), DWORD{PAGE_EXECUTE_READ});
    const Bytes written = {0xC3, 0x90, 0x90};
    patch::patch_bytes(firstPage + 0x10, written.data(), written.size());
    EXPECT_EQ(sim::bytes(firstPage + 0x10, 3), written);
    EXPECT_EQ(protectionAt(firstPage), DWORD{PAGE_EXECUTE_READ});
}

TEST(Memory, SingleValuesReadAndWriteThroughReadOnlyCode) {
    sim::layOut(sim::Build::v100);
    const PageProtection code(firstPage, PAGE_EXECUTE_READ);
    patch::poke_u8(firstPage + 3, 0xE9);
    patch::poke_u32(firstPage + 4, 0x11223344);
    EXPECT_EQ(sim::bytes(firstPage + 3, 5), (Bytes{0xE9, 0x44, 0x33, 0x22, 0x11}));
    EXPECT_EQ(patch::peek_u8(firstPage + 3), 0xE9);
    EXPECT_EQ(patch::peek_u32(firstPage + 4), 0x11223344u);
    EXPECT_EQ(protectionAt(firstPage), DWORD{PAGE_EXECUTE_READ});
}

// A window over two pages puts the first page's protection back on both, which makes it
// visible whether a window was opened at all.
TEST(Memory, WithoutUnprotectNoWindowIsOpened) {
    sim::layOut(sim::Build::v100);
    const PageProtection data(firstPage, PAGE_READWRITE);
    const PageProtection code(secondPage, PAGE_EXECUTE_READWRITE);
    const DWORD dataProtection = protectionAt(firstPage);
    const DWORD codeProtection = protectionAt(secondPage);
    ASSERT_NE(dataProtection, codeProtection);
    const Bytes written = {1, 2, 3, 4};
    const uint32_t straddling = secondPage - 2;

    patch::patch_bytes(straddling, written.data(), written.size(), false);
    EXPECT_EQ(sim::bytes(straddling, 4), written);
    Bytes read(4);
    patch::peek_bytes(straddling, read.data(), read.size(), false);
    EXPECT_EQ(read, written);
    EXPECT_EQ(protectionAt(firstPage), dataProtection);
    EXPECT_EQ(protectionAt(secondPage), codeProtection);

    patch::patch_bytes(straddling, written.data(), written.size(), true);
    EXPECT_EQ(protectionAt(secondPage), dataProtection) << "a window leaves no trace here";
}

} // namespace
