#include "plugin/game_claim.h"
#include "config/utf8_files.h"
#include "host/data_paths.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

namespace {

// Two named blocks per game process, their names holding its id. Every copy keeps a handle on
// both, so they last as long as any copy is loaded. Any program of the same user can write them:
// nothing read from them is trusted to be more than a hint.
//
// The claim: the file name of the copy that works the game, in UTF-16 from the block's first
// byte. Every release reads it there, and a copy of any release finding the block waits. The
// block is made as large as any release has made it (64 KiB; 65,600 bytes in a build since), so
// that a copy of each of them maps it.
constexpr size_t longestName = 32767; // the longest path Windows has
constexpr DWORD claimBlockSize = 65600;
struct ClaimBlock {
    wchar_t holder[longestName + 1];
};

// The line of waiting copies, in a block of its own whose name holds its layout's number: a
// layout that grows takes a new name, and never makes a copy of another release misread a block.
struct WaitingCopy {
    uint32_t module; // where the copy's image starts
    uint32_t ticket; // given as it joined the line, to no other copy in this process
};
struct Line {
    uint32_t lastTicket;
    WaitingCopy waiting[16]; // longest waiting first; the rest zero
};

// Each copy's entry for taking over: it takes over only while it waits with that ticket.
constexpr char takeOverEntryName[] = "tarvel_moravik_hud_take_over";
using TakeOverEntry = int (*)(uint32_t ticket);

// This copy's part in the claim. Reached through a function: the claim is made from another
// file's static object.
struct ClaimOfThisCopy {
    HANDLE claim = nullptr;
    ClaimBlock* block = nullptr; // the claim's block, mapped
    HANDLE lineBlock = nullptr;
    Line* line = nullptr; // the line's block, mapped
    bool holding = false; // this copy works the game
    uint32_t ticket = 0;  // while it waits in line
    void (*takeOver)() = nullptr;
    std::string otherCopy = "(unknown)"; // the file of the copy that held the claim
};
ClaimOfThisCopy& claimOfThisCopy() {
    static ClaimOfThisCopy claim;
    return claim;
}

std::wstring blockName(const wchar_t* what) {
    return L"tarvel_moravik_hud.process." + std::to_wstring(GetCurrentProcessId()) + what;
}

// Made, or opened when it exists; existed tells which.
HANDLE namedBlock(const std::wstring& name, DWORD size, bool& existed) {
    const HANDLE block =
        CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, size, name.c_str());
    existed = GetLastError() == ERROR_ALREADY_EXISTS;
    return block;
}

template <class Layout> Layout* mapped(HANDLE block) {
    return block ? static_cast<Layout*>(MapViewOfFile(block, FILE_MAP_WRITE, 0, 0, sizeof(Layout)))
                 : nullptr;
}

void noteHolder() {
    ClaimOfThisCopy& own = claimOfThisCopy();
    if (!own.block) return;
    const std::wstring name = wideFromUtf8(pluginFile()).substr(0, longestName);
    std::memcpy(own.block->holder, name.c_str(), (name.size() + 1) * sizeof(wchar_t));
}

void readHolder() {
    ClaimOfThisCopy& own = claimOfThisCopy();
    if (own.block)
        own.otherCopy = utf8FromWide({own.block->holder, wcsnlen(own.block->holder, longestName)});
}

uint32_t thisModule() {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&claimOfThisCopy), &module);
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(module));
}

// With the line full, this copy waits for nothing.
void joinLine() {
    ClaimOfThisCopy& own = claimOfThisCopy();
    if (!own.line) return;
    for (WaitingCopy& place : own.line->waiting) {
        if (place.module != 0) continue;
        own.ticket = ++own.line->lastTicket;
        place = {thisModule(), own.ticket};
        return;
    }
}

void leaveLine() {
    ClaimOfThisCopy& own = claimOfThisCopy();
    if (!own.line || own.ticket == 0) return;
    WaitingCopy* const end = std::end(own.line->waiting);
    WaitingCopy* const last =
        std::remove_if(std::begin(own.line->waiting), end,
                       [&](const WaitingCopy& entry) { return entry.ticket == own.ticket; });
    std::fill(last, end, WaitingCopy{});
    own.ticket = 0;
}

// The entry of the copy of this plug-in whose image starts at module: none unless such a module
// is loaded in this process and has the entry. An address read from the line is never called.
TakeOverEntry entryOfCopyAt(uint32_t module) {
    HMODULE found = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<LPCWSTR>(static_cast<uintptr_t>(module)), &found) ||
        reinterpret_cast<uintptr_t>(found) != module)
        return nullptr;
    return reinterpret_cast<TakeOverEntry>(
        reinterpret_cast<void (*)()>(GetProcAddress(found, takeOverEntryName)));
}

// The copy that has waited longest and is still there takes over.
void handOver() {
    ClaimOfThisCopy& own = claimOfThisCopy();
    if (!own.line) return;
    // A copy taking over leaves the line: go through it as it was.
    const Line line = *own.line;
    for (const WaitingCopy& entry : line.waiting) {
        if (entry.module == 0) return;
        const TakeOverEntry takeOver = entryOfCopyAt(entry.module);
        if (takeOver && takeOver(entry.ticket)) return;
    }
}

void letGo() {
    ClaimOfThisCopy& own = claimOfThisCopy();
    if (own.block) UnmapViewOfFile(own.block);
    if (own.claim) CloseHandle(own.claim);
    if (own.line) UnmapViewOfFile(own.line);
    if (own.lineBlock) CloseHandle(own.lineBlock);
    own = {};
}

} // namespace

// Reached by the copy that lets go of the game, through its check of the line.
extern "C" __declspec(dllexport) int tarvel_moravik_hud_take_over(uint32_t ticket) {
    ClaimOfThisCopy& own = claimOfThisCopy();
    if (own.holding || own.ticket == 0 || ticket != own.ticket) return 0;
    try {
        readHolder();
        leaveLine();
        noteHolder();
        own.holding = true;
        own.takeOver();
    } catch (...) {
    }
    return 1;
}

ClaimAtLoad claimGame(void (*takeOver)()) {
    ClaimOfThisCopy& own = claimOfThisCopy();
    try {
        own.takeOver = takeOver;
        own.holding = true;
        bool taken = false;
        own.claim = namedBlock(blockName(L""), claimBlockSize, taken);
        // No claim to be had: better drawn twice than not at all.
        if (!own.claim) return ClaimAtLoad::Holding;
        own.block = mapped<ClaimBlock>(own.claim);
        bool lineExisted = false;
        own.lineBlock = namedBlock(blockName(L".line.1"), sizeof(Line), lineExisted);
        own.line = mapped<Line>(own.lineBlock);
        if (!taken) {
            noteHolder();
            return ClaimAtLoad::Holding;
        }
        // The block exists: another copy holds the game, whether or not the block maps at the
        // size this copy knows.
        own.holding = false;
        readHolder();
        joinLine();
        // Every release that has this line makes it with its claim.
        return lineExisted ? ClaimAtLoad::Waiting : ClaimAtLoad::WaitingBesideOlderRelease;
    } catch (...) {
        return own.holding ? ClaimAtLoad::Holding : ClaimAtLoad::Waiting;
    }
}

const char* claimingCopy() {
    ClaimOfThisCopy& own = claimOfThisCopy();
    return own.otherCopy.c_str();
}

void releaseGameClaim(bool handingOver) {
    ClaimOfThisCopy& own = claimOfThisCopy();
    if (own.holding) {
        own.holding = false;
        // Its own handles keep the blocks: the next copy takes over before this one lets go.
        if (handingOver) handOver();
    } else {
        leaveLine();
    }
    letGo();
}
