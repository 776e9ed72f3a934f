#pragma once
// Reading and writing the branches that divert game code to the plug-in. Every address here is
// an actual address in the running process.
#include <cstddef>
#include <cstdint>

namespace patch {

// What an instruction at a site is, as far as diverting it goes.
enum class SiteCode : uint8_t {
    CallRel32,          // E8 rel32: five bytes
    CallThroughPointer, // FF 15 [pointer]: six bytes
    JumpRel32,          // E9 rel32
    JumpThroughPointer, // FF 25 [pointer]
    Other,              // anything else
};
SiteCode site_code(uint32_t address);
// The size of the CALL at an address that can be taken over (5 or 6), or 0 for anything else.
size_t call_size(uint32_t address);

// Where the branch at an address goes, or 0 when no branch is recognised there.
uint32_t branch_target(uint32_t address);
// Makes the CALL at an address a CALL rel32 to target, with a NOP after it where the CALL was
// six bytes long; returns where it went before.
uint32_t redirect_call(uint32_t address, uint32_t target);
// Makes the instruction at an address a JMP to target.
void redirect_jump(uint32_t address, uint32_t target);

// The address of a routine of ours as it is written into game code.
template <class Function> uint32_t code_address(Function* function) {
    return reinterpret_cast<uint32_t>(function);
}

} // namespace patch
