#pragma once
// How much of the process a test leaves in use, measured in ways that work under Wine (which
// reports neither private usage nor a handle count).
#include <cstddef>
#include <cstdint>

namespace testing_support {

// Committed private memory, summed over the address space.
size_t privateBytes();
// The next free handle slot: it climbs when handles leak.
uint32_t nextHandleSlot();

} // namespace testing_support
