#include "patch/memory.h"
#include "patch/protection.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

namespace patch {
namespace {

constexpr uint32_t pageSize = 0x1000;

// One window per page, so each page gets its own previous protection back.
template <class Access> void inPageWindows(uint32_t address, size_t size, Access access) {
    size_t done = 0;
    while (done < size) {
        const uint32_t start = address + static_cast<uint32_t>(done);
        const size_t part = std::min<size_t>(size - done, pageSize - (start & (pageSize - 1)));
        ProtectionWindow window(start, part);
        access(start, done, part);
        done += part;
    }
}

// The processor may still hold the old instructions.
void flushWritten(uint32_t address, size_t size) {
    FlushInstructionCache(GetCurrentProcess(), reinterpret_cast<const void*>(address), size);
}

} // namespace

void patch_bytes(uint32_t address, const void* source, size_t size, bool unprotect) {
    const auto* from = static_cast<const uint8_t*>(source);
    if (!unprotect || size == 0) {
        std::memcpy(reinterpret_cast<void*>(address), from, size);
    } else {
        inPageWindows(address, size, [from](uint32_t at, size_t offset, size_t part) {
            std::memcpy(reinterpret_cast<void*>(at), from + offset, part);
        });
    }
    if (size != 0) flushWritten(address, size);
}

void peek_bytes(uint32_t address, void* destination, size_t size, bool unprotect) {
    auto* to = static_cast<uint8_t*>(destination);
    if (!unprotect || size == 0) {
        std::memcpy(to, reinterpret_cast<const void*>(address), size);
        return;
    }
    inPageWindows(address, size, [to](uint32_t at, size_t offset, size_t part) {
        std::memcpy(to + offset, reinterpret_cast<const void*>(at), part);
    });
}

namespace {

// A region of memory pages with one protection, as VirtualQuery reports it.
struct Region {
    uintptr_t begin = 0;
    uintptr_t end = 0;
    bool readable = false;

    bool holds(const KeptBytes& stretch) const {
        return stretch.address >= begin && stretch.address + stretch.size <= end;
    }
};

Region regionAt(uint32_t address) {
    constexpr DWORD readable = PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READ |
                               PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
    MEMORY_BASIC_INFORMATION info;
    if (VirtualQuery(reinterpret_cast<const void*>(address), &info, sizeof info) == 0) return {};
    Region region;
    region.begin = reinterpret_cast<uintptr_t>(info.BaseAddress);
    region.end = region.begin + info.RegionSize;
    region.readable = info.State == MEM_COMMIT && (info.Protect & readable) != 0 &&
                      (info.Protect & PAGE_GUARD) == 0;
    return region;
}

} // namespace

void keep_bytes(std::initializer_list<KeptBytes> stretches) {
    Region region;
    for (const KeptBytes& stretch : stretches) {
        if (!region.holds(stretch)) region = regionAt(stretch.address);
        if (region.readable && region.holds(stretch) &&
            std::memcmp(reinterpret_cast<const void*>(stretch.address), stretch.bytes,
                        stretch.size) == 0)
            continue;
        patch_bytes(stretch.address, stretch.bytes, stretch.size);
        region = {}; // a protection window may have split the region: ask again
    }
}

uint8_t peek_u8(uint32_t address) {
    uint8_t value = 0;
    peek_bytes(address, &value, sizeof value);
    return value;
}

uint32_t peek_u32(uint32_t address) {
    uint32_t value = 0;
    peek_bytes(address, &value, sizeof value);
    return value;
}

void poke_u8(uint32_t address, uint8_t value) {
    patch_bytes(address, &value, sizeof value);
}

void poke_u32(uint32_t address, uint32_t value) {
    patch_bytes(address, &value, sizeof value);
}

} // namespace patch
