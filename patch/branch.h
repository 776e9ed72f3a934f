#pragma once
// Reading and writing the 5-byte relative branches that divert game code to the plug-in.
#include <cstdint>

namespace patch {

// Where the branch at an actual address goes, or 0 when no branch is recognised there.
uint32_t branch_target(uint32_t address);
// Makes the instruction at an actual address a CALL to target; returns where it went before.
uint32_t redirect_call(uint32_t address, uint32_t target);
// Makes the instruction at a nominal game address a JMP to target.
void redirect_jump(uint32_t hostAddress, uint32_t target);

// The address of a routine of ours as it is written into game code.
template <class Function> uint32_t code_address(Function* function) {
    return reinterpret_cast<uint32_t>(function);
}

} // namespace patch
