// This program's allocator, with the failures the simulated game injects (game_life.h). Alone in
// its file, so no code of the simulator is compiled beside its replacement.
#include "sim/game_life.h"

#include <cstdlib>
#include <new>

void* operator new(std::size_t size) {
    if (sim::allocationRefused(size)) throw std::bad_alloc();
    if (void* memory = std::malloc(size != 0 ? size : 1)) return memory;
    throw std::bad_alloc();
}
void operator delete(void* memory) noexcept {
    std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}
