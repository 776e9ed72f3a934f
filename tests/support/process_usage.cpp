#include "support/process_usage.h"

#include <windows.h>

namespace testing_support {

size_t privateBytes() {
    size_t total = 0;
    MEMORY_BASIC_INFORMATION info{};
    for (auto* p = static_cast<const uint8_t*>(nullptr);
         VirtualQuery(p, &info, sizeof info) == sizeof info;
         p = static_cast<const uint8_t*>(info.BaseAddress) + info.RegionSize) {
        if (info.State == MEM_COMMIT && info.Type == MEM_PRIVATE) total += info.RegionSize;
        if (static_cast<const uint8_t*>(info.BaseAddress) + info.RegionSize < p) break;
    }
    return total;
}

uint32_t nextHandleSlot() {
    HANDLE probe = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    const auto slot = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(probe) / 4);
    CloseHandle(probe);
    return slot;
}

} // namespace testing_support
