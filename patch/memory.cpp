#include "patch/memory.h"
#include "patch/protection.h"

#include <windows.h>

#include <cstring>

namespace patch {

void patch_bytes(uint32_t address, const void* source, size_t size, bool unprotect) {
    if (!unprotect || size == 0) {
        std::memcpy(reinterpret_cast<void*>(address), source, size);
        return;
    }
    ProtectionWindow window(address, size);
    std::memcpy(reinterpret_cast<void*>(address), source, size);
}

void peek_bytes(uint32_t address, void* destination, size_t size, bool unprotect) {
    if (!unprotect || size == 0) {
        std::memcpy(destination, reinterpret_cast<const void*>(address), size);
        return;
    }
    ProtectionWindow window(address, size);
    std::memcpy(destination, reinterpret_cast<const void*>(address), size);
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
