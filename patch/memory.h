#pragma once
// Reads and writes of game code, each inside its own protection window.
#include <cstddef>
#include <cstdint>

namespace patch {

void patch_bytes(uint32_t address, const void* source, size_t size, bool unprotect = true);
void peek_bytes(uint32_t address, void* destination, size_t size, bool unprotect = true);
uint8_t peek_u8(uint32_t address);
uint32_t peek_u32(uint32_t address);
void poke_u8(uint32_t address, uint8_t value);
void poke_u32(uint32_t address, uint32_t value);

} // namespace patch
