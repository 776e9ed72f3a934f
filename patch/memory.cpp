#include "patch/memory.h"
#include "patch/protection.h"

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
