#pragma once
// What a player's game does that a quiet test game does not: saved games loaded, clocks that go
// back or wrap, files an editor holds locked, another program's code at a call site, memory
// running out.
#include "sim/sim.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace sim {

// A saved game loaded: the game starts again (the start event fires) with its clock at clock,
// usually lower than before.
void loadSavedGame(uint32_t clock);

// Another program's code written at an event's call site of the current build before the
// plug-in loads. Its routine logs "foreign" with the site, then goes on to the game's callee,
// so the game's own call still runs.
enum class ForeignCode {
    CallRel32,          // E8: a CALL to its routine
    CallThroughPointer, // FF 15: a CALL through a pointer to its routine (six bytes)
    JumpRel32,          // E9: a JMP to its routine, which comes back after the site itself
};
void placeForeignCode(Event event, ForeignCode code);
// Where the other program's routine at the event's site is (0 when there is none).
uint32_t foreignRoutineOf(Event event);
// The other program switches itself off (its pointer then leads to the game's callee) or on
// again (back to its routine), as it may at any time; for a call through its pointer.
void switchForeignCode(Event event, bool on);

// A file held open without read sharing, as an editor or a virus scanner does while it saves:
// every other open fails with a sharing violation until it is let go.
void lockFile(const std::string& path);
void unlockFile(const std::string& path);
void unlockAllFiles();
// The file clock (100 ns since 1601) now, and a file's last-write time set on it.
long long fileClockNow();
constexpr long long fileClockSeconds = 10'000'000;
void stampFile(const std::string& path, long long fileTime);

// Allocation failures, as in a long-running 32-bit process whose address space is used up.
// Every operator new of this program asks here first (the plug-in's library, when it is built
// into the program, included; a loaded DLL has an allocator of its own).
struct AllocationFailures {
    std::size_t atLeast = 0; // only requests of this size or larger fail
    int succeedFirst = 0;    // so many such requests still succeed before the failures start
    int failures = -1;       // how many fail, then all succeed again; -1: all of them
};
void refuseAllocations(const AllocationFailures& failures = {});
void allowAllocations();
// The requests refused since the last refuseAllocations.
int refusedAllocations();
// The allocator's question: must a request of this size fail?
bool allocationRefused(std::size_t size);

} // namespace sim
