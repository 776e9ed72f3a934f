#include "plugin/game_claim.h"
#include "config/utf8_files.h"
#include "plugin/data_paths.h"

#include <windows.h>

#include <cstring>
#include <string>

namespace {

// The claim: a named memory block holding the claiming copy's file name in UTF-16. Its name
// holds the process id, so each game process has its own.
constexpr size_t longestName = 32767; // the longest path Windows has
constexpr DWORD claimSize = (longestName + 1) * sizeof(wchar_t);
HANDLE claim = nullptr;

// Reached through a function: the claim is made from another file's static object.
std::string& otherCopy() {
    static std::string file = "(unknown)";
    return file;
}

std::wstring claimName() {
    return L"tarvel_moravik_hud.process." + std::to_wstring(GetCurrentProcessId());
}

} // namespace

bool claimGame() {
    try {
        const HANDLE block = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                                claimSize, claimName().c_str());
        if (!block) return true; // no claim to be had: better drawn twice than not at all
        const bool taken = GetLastError() == ERROR_ALREADY_EXISTS;
        auto* text = static_cast<wchar_t*>(MapViewOfFile(block, FILE_MAP_WRITE, 0, 0, claimSize));
        if (taken) {
            if (text) {
                otherCopy() = utf8FromWide({text, wcsnlen(text, longestName)});
                UnmapViewOfFile(text);
            }
            // Only the claiming copy keeps the block: it vanishes when that copy goes.
            CloseHandle(block);
            return false;
        }
        if (text) {
            const std::wstring name = wideFromUtf8(pluginFile()).substr(0, longestName);
            std::memcpy(text, name.c_str(), (name.size() + 1) * sizeof(wchar_t));
            UnmapViewOfFile(text);
        }
        claim = block;
        return true;
    } catch (...) {
        return true;
    }
}

const char* claimingCopy() {
    return otherCopy().c_str();
}

void releaseGameClaim() {
    if (claim) CloseHandle(claim);
    claim = nullptr;
}
