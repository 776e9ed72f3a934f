#include "sim/host_guarded_player.h"
#include "sim/host_data.h"

#include <windows.h>

#include <cstring>

#define SIM_CDECL __attribute__((cdecl))

namespace sim {
namespace {

constexpr uint32_t actorRoutine = 0x4A1150;
constexpr size_t actorRecordSize = 0x600; // the simulated actor record
constexpr size_t pageSize = 0x1000;

uint8_t* guardedRecord() {
    static uint8_t* record = [] {
        auto* pages = static_cast<uint8_t*>(
            VirtualAlloc(nullptr, 2 * pageSize, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
        DWORD previous = 0;
        VirtualProtect(pages + pageSize, pageSize, PAGE_NOACCESS, &previous);
        return pages + pageSize - actorRecordSize;
    }();
    return record;
}

uint8_t* SIM_CDECL guardedPlayerActor() {
    std::memcpy(guardedRecord(), reinterpret_cast<const void*>(playerActorAddress()),
                actorRecordSize);
    return guardedRecord();
}

} // namespace

void guardPlayerRecord() {
    installRoutine(actorRoutine, reinterpret_cast<const void*>(&guardedPlayerActor));
}

} // namespace sim
