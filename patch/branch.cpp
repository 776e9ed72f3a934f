#include "patch/branch.h"
#include "patch/memory.h"
#include "patch/scoped.h"

#include <cstring>

namespace patch {
namespace {

constexpr uint8_t callRel32 = 0xE8;
constexpr uint8_t jumpRel32 = 0xE9;
constexpr uint8_t indirectGroup = 0xFF;
constexpr uint8_t callThroughPointer = 0x15;
constexpr uint8_t jumpThroughPointer = 0x25;
constexpr uint8_t noOperation = 0x90;

// Opcode and displacement go in two windows, so the opcode is in place first.
void write_branch(uint32_t address, uint8_t opcode, uint32_t target) {
    poke_u8(address, opcode);
    poke_u32(address + 1, target - (address + 1) - 4);
}

} // namespace

SiteCode site_code(uint32_t address) {
    const uint8_t opcode = peek_u8(address);
    if (opcode == callRel32) return SiteCode::CallRel32;
    if (opcode == jumpRel32) return SiteCode::JumpRel32;
    if (opcode != indirectGroup) return SiteCode::Other;
    const uint8_t form = peek_u8(address + 1);
    if (form == callThroughPointer) return SiteCode::CallThroughPointer;
    if (form == jumpThroughPointer) return SiteCode::JumpThroughPointer;
    return SiteCode::Other;
}

size_t call_size(uint32_t address) {
    switch (site_code(address)) {
    case SiteCode::CallRel32:
        return 5;
    case SiteCode::CallThroughPointer:
        return 6;
    default:
        return 0;
    }
}

uint32_t branch_target(uint32_t address) {
    switch (site_code(address)) {
    case SiteCode::CallRel32:
    case SiteCode::JumpRel32:
        return address + 5 + peek_u32(address + 1);
    case SiteCode::CallThroughPointer:
    case SiteCode::JumpThroughPointer: {
        // The pointer lives in game data, which is readable as it is.
        uint32_t destination = 0;
        std::memcpy(&destination, reinterpret_cast<const void*>(peek_u32(address + 2)), 4);
        return destination;
    }
    default:
        return 0;
    }
}

uint32_t redirect_call(uint32_t address, uint32_t target) {
    const uint32_t previous = branch_target(address);
    const bool sixBytes = site_code(address) == SiteCode::CallThroughPointer;
    write_branch(address, callRel32, target);
    // The pointer's last byte would otherwise run as an instruction of its own.
    if (sixBytes) poke_u8(address + 5, noOperation);
    return previous;
}

void redirect_jump(uint32_t address, uint32_t target) {
    write_branch(address, jumpRel32, target);
}

void scoped_jump::write(uint32_t address, uint32_t target) {
    if (!saved()) save_bytes(address, 5, true);
    redirect_jump(address, target);
    keep_branch();
}

} // namespace patch
