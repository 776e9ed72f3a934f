#include "sim/game_life.h"
#include "sim/host_data.h"

#include <windows.h>

#include <cstring>
#include <map>

namespace sim {
namespace {

// Free host memory below the program's own code, one slot per event for another program's code.
constexpr uint32_t foreignCodeArea = 0xAFF000;
constexpr uint32_t foreignSlotSize = 64;

uint32_t slotOf(Event event) {
    uint32_t index = 0;
    while (allEvents[index] != event)
        ++index;
    return foreignCodeArea + index * foreignSlotSize;
}

void __attribute__((cdecl)) foreignRoutineRan(uint32_t site) {
    HostCall call;
    call.routine = "foreign";
    call.object = site;
    record(std::move(call));
}

struct CodeWriter {
    uint32_t at;
    void byte(uint8_t value) { *reinterpret_cast<uint8_t*>(at++) = value; }
    void word(uint32_t value) {
        std::memcpy(reinterpret_cast<void*>(at), &value, 4);
        at += 4;
    }
    void branch(uint8_t opcode, uint32_t target) {
        byte(opcode);
        word(target - (at + 4));
    }
};

// The pointer of each slot's call through a pointer and the game callee its routine goes on to.
struct ForeignPointer {
    uint32_t address = 0;
    uint32_t gameCallee = 0;
};
std::map<Event, ForeignPointer> foreignPointers;

std::map<std::string, HANDLE> lockedFiles;
AllocationFailures allocationFailures;
bool failing = false;
int refused = 0;

} // namespace

void loadSavedGame(uint32_t clock) {
    setClock(clock);
    fire(Event::Start);
}

void placeForeignCode(Event event, ForeignCode code) {
    const uint32_t site = siteOf(event);
    if (site == 0) return;
    int32_t displacement = 0;
    std::memcpy(&displacement, reinterpret_cast<const void*>(site + 1), 4);
    const uint32_t gameCallee = site + 5 + static_cast<uint32_t>(displacement);

    // push site; call foreignRoutineRan; add esp, 4; jmp gameCallee
    const uint32_t routine = slotOf(event);
    CodeWriter writer{routine};
    writer.byte(0x68);
    writer.word(site);
    writer.branch(0xE8, reinterpret_cast<uint32_t>(&foreignRoutineRan));
    writer.byte(0x83);
    writer.byte(0xC4);
    writer.byte(0x04);
    writer.branch(0xE9, gameCallee);
    const uint32_t pointer = writer.at;
    writer.word(routine);
    foreignPointers[event] = {pointer, gameCallee};
    // For a jump: call the routine, then back after the site, as the other program would.
    const uint32_t trampoline = writer.at;
    writer.branch(0xE8, routine);
    writer.branch(0xE9, site + 5);

    CodeWriter atSite{site};
    switch (code) {
    case ForeignCode::CallRel32:
        atSite.branch(0xE8, routine);
        break;
    case ForeignCode::CallThroughPointer:
        atSite.byte(0xFF);
        atSite.byte(0x15);
        atSite.word(pointer);
        atSite.byte(0xC3);
        break;
    case ForeignCode::JumpRel32:
        atSite.branch(0xE9, trampoline);
        break;
    }
}

uint32_t foreignRoutineOf(Event event) {
    const uint32_t routine = slotOf(event);
    return *reinterpret_cast<const uint8_t*>(routine) == 0x68 ? routine : 0;
}

void switchForeignCode(Event event, bool on) {
    const auto found = foreignPointers.find(event);
    if (found == foreignPointers.end() || foreignRoutineOf(event) == 0) return;
    const uint32_t destination = on ? slotOf(event) : found->second.gameCallee;
    std::memcpy(reinterpret_cast<void*>(found->second.address), &destination, 4);
}

void lockFile(const std::string& path) {
    if (lockedFiles.count(path)) return;
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) lockedFiles[path] = file;
}

void unlockFile(const std::string& path) {
    const auto found = lockedFiles.find(path);
    if (found == lockedFiles.end()) return;
    CloseHandle(found->second);
    lockedFiles.erase(found);
}

void unlockAllFiles() {
    for (const auto& [path, file] : lockedFiles)
        CloseHandle(file);
    lockedFiles.clear();
}

long long fileClockNow() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return static_cast<long long>((static_cast<unsigned long long>(now.dwHighDateTime) << 32) |
                                  now.dwLowDateTime);
}

void stampFile(const std::string& path, long long fileTime) {
    const HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    const auto ticks = static_cast<unsigned long long>(fileTime);
    FILETIME stamp;
    stamp.dwLowDateTime = static_cast<DWORD>(ticks);
    stamp.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    SetFileTime(file, nullptr, nullptr, &stamp);
    CloseHandle(file);
}

void refuseAllocations(const AllocationFailures& failures) {
    allocationFailures = failures;
    failing = true;
    refused = 0;
}

void allowAllocations() {
    failing = false;
}

int refusedAllocations() {
    return refused;
}

bool allocationRefused(std::size_t size) {
    if (!failing || size < allocationFailures.atLeast) return false;
    if (allocationFailures.succeedFirst > 0) {
        --allocationFailures.succeedFirst;
        return false;
    }
    if (allocationFailures.failures == 0) return false;
    if (allocationFailures.failures > 0) --allocationFailures.failures;
    ++refused;
    return true;
}

} // namespace sim
