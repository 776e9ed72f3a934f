#include "patch/branch.h"
#include "patch/memory.h"
#include "patch/scoped.h"
#include "plugin/game_version.h"

#include <cstring>

namespace patch {
namespace {

constexpr uint8_t callRel32 = 0xE8;
constexpr uint8_t jumpRel32 = 0xE9;
constexpr uint8_t indirectGroup = 0xFF;
constexpr uint8_t callThroughPointer = 0x15;
constexpr uint8_t jumpThroughPointer = 0x25;

// Opcode and displacement go in two windows, so the opcode is in place first.
void write_branch(uint32_t address, uint8_t opcode, uint32_t target) {
    poke_u8(address, opcode);
    poke_u32(address + 1, target - (address + 1) - 4);
}

} // namespace

uint32_t branch_target(uint32_t address) {
    const uint8_t opcode = peek_u8(address);
    if (opcode == callRel32 || opcode == jumpRel32) return address + 5 + peek_u32(address + 1);
    if (opcode != indirectGroup) return 0;
    const uint8_t form = peek_u8(address + 1);
    if (form != callThroughPointer && form != jumpThroughPointer) return 0;
    // The pointer lives in game data, which is readable as it is.
    uint32_t destination = 0;
    std::memcpy(&destination, reinterpret_cast<const void*>(peek_u32(address + 2)), 4);
    return destination;
}

uint32_t redirect_call(uint32_t address, uint32_t target) {
    const uint32_t previous = branch_target(address);
    write_branch(address, callRel32, target);
    return previous;
}

void redirect_jump(uint32_t hostAddress, uint32_t target) {
    write_branch(adjustAddress(hostAddress), jumpRel32, target);
}

void scoped_jump::write(uint32_t hostAddress, uint32_t target) {
    if (!saved()) save_bytes(adjustAddress(hostAddress), 5, true);
    redirect_jump(hostAddress, target);
    keep_written();
}

} // namespace patch
