#include "plugin/game_claim.h"
#include "config/utf8_files.h"
#include "host/data_paths.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace {

// The claim: a named memory block holding the claiming copy's file name in UTF-16 and the line
// of waiting copies. Its name holds the process id, so each game process has its own; every copy
// keeps a handle, so it lasts as long as any copy is loaded.
constexpr size_t longestName = 32767; // the longest path Windows has
using TakeOver = void (*)();
struct ClaimBlock {
    wchar_t holder[longestName + 1];
    // The waiting copies' entries, longest waiting first; the rest null. Loads and unloads run
    // one at a time in a process, so no two copies change the line at once.
    TakeOver waiting[16];
};

// This copy's part in the claim. Reached through a function: the claim is made from another
// file's static object.
struct ClaimOfThisCopy {
    HANDLE claim = nullptr;
    ClaimBlock* block = nullptr; // the claim's block, mapped
    bool holding = false;        // this copy works the game
    TakeOver takeOver = nullptr;
    std::string otherCopy = "(unknown)"; // the file of the copy that held the claim
};
ClaimOfThisCopy& claimOfThisCopy() {
    static ClaimOfThisCopy claim;
    return claim;
}

std::wstring claimName() {
    return L"tarvel_moravik_hud.process." + std::to_wstring(GetCurrentProcessId());
}

void noteHolder() {
    ClaimOfThisCopy& own = claimOfThisCopy();
    const std::wstring name = wideFromUtf8(pluginFile()).substr(0, longestName);
    std::memcpy(own.block->holder, name.c_str(), (name.size() + 1) * sizeof(wchar_t));
}

void leaveLine(TakeOver entry) {
    ClaimOfThisCopy& own = claimOfThisCopy();
    TakeOver* const end = std::end(own.block->waiting);
    TakeOver* const last = std::remove(std::begin(own.block->waiting), end, entry);
    std::fill(last, end, nullptr);
}

// Reached by the copy that lets go of the game, through the line.
void handedOver() {
    ClaimOfThisCopy& own = claimOfThisCopy();
    try {
        own.otherCopy = utf8FromWide({own.block->holder, wcsnlen(own.block->holder, longestName)});
        leaveLine(&handedOver);
        noteHolder();
        own.holding = true;
        own.takeOver();
    } catch (...) {
    }
}

void letGo() {
    ClaimOfThisCopy& own = claimOfThisCopy();
    if (own.block) UnmapViewOfFile(own.block);
    if (own.claim) CloseHandle(own.claim);
    own.block = nullptr;
    own.claim = nullptr;
}

} // namespace

bool claimGame(void (*takeOver)()) {
    ClaimOfThisCopy& own = claimOfThisCopy();
    try {
        own.takeOver = takeOver;
        own.claim = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                       sizeof(ClaimBlock), claimName().c_str());
        own.holding = true;
        if (!own.claim) return true; // no claim to be had: better drawn twice than not at all
        const bool taken = GetLastError() == ERROR_ALREADY_EXISTS;
        own.block = static_cast<ClaimBlock*>(
            MapViewOfFile(own.claim, FILE_MAP_WRITE, 0, 0, sizeof(ClaimBlock)));
        if (!own.block) return true;
        if (!taken) {
            noteHolder();
            return true;
        }
        own.holding = false;
        own.otherCopy = utf8FromWide({own.block->holder, wcsnlen(own.block->holder, longestName)});
        TakeOver* const free =
            std::find(std::begin(own.block->waiting), std::end(own.block->waiting), nullptr);
        // With the line full, this copy waits for nothing.
        if (free != std::end(own.block->waiting)) *free = &handedOver;
        return false;
    } catch (...) {
        return true;
    }
}

const char* claimingCopy() {
    ClaimOfThisCopy& own = claimOfThisCopy();
    return own.otherCopy.c_str();
}

void releaseGameClaim(bool handOver) {
    ClaimOfThisCopy& own = claimOfThisCopy();
    if (!own.block) return letGo();
    if (!own.holding) {
        leaveLine(&handedOver);
        return letGo();
    }
    own.holding = false;
    const TakeOver next = own.block->waiting[0];
    // Its own handle keeps the block: the next copy takes it over before this one lets go.
    if (handOver && next) next();
    letGo();
}
