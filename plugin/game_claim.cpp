#include "plugin/game_claim.h"
#include "config/utf8_files.h"
#include "plugin/data_paths.h"

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

HANDLE claim = nullptr;
ClaimBlock* block = nullptr;
bool holding = false;
TakeOver ownTakeOver = nullptr;

// Reached through a function: the claim is made from another file's static object.
std::string& otherCopy() {
    static std::string file = "(unknown)";
    return file;
}

std::wstring claimName() {
    return L"tarvel_moravik_hud.process." + std::to_wstring(GetCurrentProcessId());
}

void noteHolder() {
    const std::wstring name = wideFromUtf8(pluginFile()).substr(0, longestName);
    std::memcpy(block->holder, name.c_str(), (name.size() + 1) * sizeof(wchar_t));
}

void leaveLine(TakeOver entry) {
    TakeOver* const end = std::end(block->waiting);
    TakeOver* const last = std::remove(std::begin(block->waiting), end, entry);
    std::fill(last, end, nullptr);
}

// Reached by the copy that lets go of the game, through the line.
void handedOver() {
    try {
        otherCopy() = utf8FromWide({block->holder, wcsnlen(block->holder, longestName)});
        leaveLine(&handedOver);
        noteHolder();
        holding = true;
        ownTakeOver();
    } catch (...) {
    }
}

void letGo() {
    if (block) UnmapViewOfFile(block);
    if (claim) CloseHandle(claim);
    block = nullptr;
    claim = nullptr;
}

} // namespace

bool claimGame(void (*takeOver)()) {
    try {
        ownTakeOver = takeOver;
        claim = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                   sizeof(ClaimBlock), claimName().c_str());
        holding = true;
        if (!claim) return true; // no claim to be had: better drawn twice than not at all
        const bool taken = GetLastError() == ERROR_ALREADY_EXISTS;
        block = static_cast<ClaimBlock*>(
            MapViewOfFile(claim, FILE_MAP_WRITE, 0, 0, sizeof(ClaimBlock)));
        if (!block) return true;
        if (!taken) {
            noteHolder();
            return true;
        }
        holding = false;
        otherCopy() = utf8FromWide({block->holder, wcsnlen(block->holder, longestName)});
        TakeOver* const free =
            std::find(std::begin(block->waiting), std::end(block->waiting), nullptr);
        // With the line full, this copy waits for nothing.
        if (free != std::end(block->waiting)) *free = &handedOver;
        return false;
    } catch (...) {
        return true;
    }
}

const char* claimingCopy() {
    return otherCopy().c_str();
}

void releaseGameClaim(bool handOver) {
    if (!block) return letGo();
    if (!holding) {
        leaveLine(&handedOver);
        return letGo();
    }
    holding = false;
    const TakeOver next = block->waiting[0];
    // Its own handle keeps the block: the next copy takes it over before this one lets go.
    if (handOver && next) next();
    letGo();
}
