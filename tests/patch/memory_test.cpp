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

// The test program's own imports, through which the patch code it links calls the system.
using ProtectFunction = BOOL(WINAPI*)(LPVOID, SIZE_T, DWORD, PDWORD);
using FlushFunction = BOOL(WINAPI*)(HANDLE, LPCVOID, SIZE_T);
extern "C" ProtectFunction protectImport asm("__imp__VirtualProtect@16");
extern "C" FlushFunction flushImport asm("__imp__FlushInstructionCache@12");

// Points one import at a spy for the life of the object.
template <class Function> class ImportSwap {
  public:
    ImportSwap(Function& slot, Function spy) : slot_(slot), original_(slot) { write(spy); }
    ~ImportSwap() { write(original_); }
    ImportSwap(const ImportSwap&) = delete;
    ImportSwap& operator=(const ImportSwap&) = delete;
    Function original() const { return original_; }

  private:
    void write(Function value) {
        DWORD previous = 0;
        VirtualProtect(&slot_, sizeof slot_, PAGE_READWRITE, &previous);
        slot_ = value;
        VirtualProtect(&slot_, sizeof slot_, previous, &previous);
    }
    Function& slot_;
    Function original_;
};

int protectCalls = 0;
ProtectFunction realProtect = nullptr;
BOOL WINAPI countProtect(LPVOID address, SIZE_T size, DWORD protection, PDWORD previous) {
    ++protectCalls;
    return realProtect(address, size, protection, previous);
}

struct Flushed {
    uint32_t address;
    size_t size;
    Bytes bytes; // what the range held when it was flushed
};
std::vector<Flushed> flushes;
FlushFunction realFlush = nullptr;
BOOL WINAPI recordFlush(HANDLE process, LPCVOID address, SIZE_T size) {
    const auto at = reinterpret_cast<uint32_t>(address);
    flushes.push_back({at, size, sim::bytes(at, size)});
    return realFlush(process, address, size);
}

TEST(Memory, WithoutUnprotectNoWindowIsOpened) {
    sim::layOut(sim::Build::v100);
    const ImportSwap<ProtectFunction> spy(protectImport, countProtect);
    realProtect = spy.original();
    protectCalls = 0;
    const Bytes written = {1, 2, 3, 4};
    const uint32_t straddling = secondPage - 2;

    patch::patch_bytes(straddling, written.data(), written.size(), false);
    EXPECT_EQ(sim::bytes(straddling, 4), written);
    Bytes read(4);
    patch::peek_bytes(straddling, read.data(), read.size(), false);
    EXPECT_EQ(read, written);
    EXPECT_EQ(protectCalls, 0);

    patch::patch_bytes(straddling, written.data(), written.size(), true);
    EXPECT_GT(protectCalls, 0);
}

// Code written across a page boundary: each page keeps its own protection, and the processor
// is told about every write after it is made.
TEST(Memory, WritesAcrossPagesKeepEachPagesProtectionAndAreFlushed) {
    sim::layOut(sim::Build::v100);
    const PageProtection code(firstPage, PAGE_EXECUTE_READ);
    const PageProtection data(secondPage, PAGE_READONLY);
    const ImportSwap<FlushFunction> spy(flushImport, recordFlush);
    realFlush = spy.original();
    flushes.clear();
    const Bytes written = {0xE8, 0x11, 0x22, 0x33, 0x44};
    const uint32_t straddling = secondPage - 2;

    patch::patch_bytes(straddling, written.data(), written.size());
    patch::poke_u8(firstPage + 8, 0xC3);

    EXPECT_EQ(sim::bytes(straddling, 5), written);
    EXPECT_EQ(protectionAt(firstPage), DWORD{PAGE_EXECUTE_READ});
    EXPECT_EQ(protectionAt(secondPage), DWORD{PAGE_READONLY});
    ASSERT_EQ(flushes.size(), 2u);
    EXPECT_EQ(flushes[0].address, straddling);
    EXPECT_EQ(flushes[0].bytes, written) << "flushed before the write was complete";
    EXPECT_EQ(flushes[1].address, firstPage + 8);
    EXPECT_EQ(flushes[1].size, 1u);
}

} // namespace
