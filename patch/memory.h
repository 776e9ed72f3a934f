#pragma once
// Reads and writes of game code, each inside its own protection window.
#include <cstddef>
#include <cstdint>
#include <initializer_list>

namespace patch {

void patch_bytes(uint32_t address, const void* source, size_t size, bool unprotect = true);
void peek_bytes(uint32_t address, void* destination, size_t size, bool unprotect = true);
uint8_t peek_u8(uint32_t address);
uint32_t peek_u32(uint32_t address);
void poke_u8(uint32_t address, uint8_t value);
void poke_u32(uint32_t address, uint32_t value);

// A stretch of game code and the bytes it must hold.
struct KeptBytes {
    uint32_t address;
    const void* bytes;
    size_t size;
};
// Leaves each stretch holding its bytes. They are compared first, where the code can be read as
// it is (one memory query per region), and written only when they differ: code that already
// holds them costs no protection window.
void keep_bytes(std::initializer_list<KeptBytes> stretches);

} // namespace patch
