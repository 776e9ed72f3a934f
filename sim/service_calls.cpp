#include "sim/service_calls.h"

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstring>

namespace sim {
namespace {

ServiceCalls counts;

void* (*realMalloc)(size_t) = nullptr;
void* (*realCalloc)(size_t, size_t) = nullptr;
void* (*realRealloc)(void*, size_t) = nullptr;
FILE* (*realFopen)(const char*, const char*) = nullptr;
FILE* (*realWfopen)(const wchar_t*, const wchar_t*) = nullptr;
HANDLE(WINAPI* realCreateFileA)
(LPCSTR, DWORD, DWORD, SECURITY_ATTRIBUTES*, DWORD, DWORD, HANDLE) = nullptr;
HANDLE(WINAPI* realCreateFileW)
(LPCWSTR, DWORD, DWORD, SECURITY_ATTRIBUTES*, DWORD, DWORD, HANDLE) = nullptr;
SHORT(WINAPI* realGetKeyState)(int) = nullptr;
BOOL(WINAPI* realGetKeyboardState)(BYTE*) = nullptr;
BOOL(WINAPI* realGetFileAttributesExA)(LPCSTR, GET_FILEEX_INFO_LEVELS, void*) = nullptr;
BOOL(WINAPI* realGetFileAttributesExW)(LPCWSTR, GET_FILEEX_INFO_LEVELS, void*) = nullptr;
BOOL(WINAPI* realVirtualProtect)(void*, SIZE_T, DWORD, DWORD*) = nullptr;

void* countingMalloc(size_t size) {
    ++counts.allocations;
    return realMalloc(size);
}
void* countingCalloc(size_t count, size_t size) {
    ++counts.allocations;
    return realCalloc(count, size);
}
void* countingRealloc(void* block, size_t size) {
    ++counts.allocations;
    return realRealloc(block, size);
}
void countOpen(const char* path) {
    ++counts.fileOpens;
    counts.opened.emplace_back(path);
}
void countWideOpen(const wchar_t* path) {
    char name[MAX_PATH * 3] = {};
    WideCharToMultiByte(CP_UTF8, 0, path, -1, name, sizeof name, nullptr, nullptr);
    countOpen(name);
}
FILE* countingFopen(const char* path, const char* mode) {
    countOpen(path);
    return realFopen(path, mode);
}
FILE* countingWfopen(const wchar_t* path, const wchar_t* mode) {
    countWideOpen(path);
    return realWfopen(path, mode);
}
HANDLE WINAPI countingCreateFileA(LPCSTR path, DWORD access, DWORD share,
                                  SECURITY_ATTRIBUTES* security, DWORD disposition, DWORD flags,
                                  HANDLE model) {
    countOpen(path);
    return realCreateFileA(path, access, share, security, disposition, flags, model);
}
HANDLE WINAPI countingCreateFileW(LPCWSTR path, DWORD access, DWORD share,
                                  SECURITY_ATTRIBUTES* security, DWORD disposition, DWORD flags,
                                  HANDLE model) {
    countWideOpen(path);
    return realCreateFileW(path, access, share, security, disposition, flags, model);
}
SHORT WINAPI countingGetKeyState(int key) {
    ++counts.keyboardReads;
    return realGetKeyState(key);
}
BOOL WINAPI countingGetKeyboardState(BYTE* keys) {
    ++counts.keyboardReads;
    return realGetKeyboardState(keys);
}
BOOL WINAPI countingGetFileAttributesExA(LPCSTR path, GET_FILEEX_INFO_LEVELS level, void* data) {
    ++counts.fileChecks;
    return realGetFileAttributesExA(path, level, data);
}
BOOL WINAPI countingGetFileAttributesExW(LPCWSTR path, GET_FILEEX_INFO_LEVELS level, void* data) {
    ++counts.fileChecks;
    return realGetFileAttributesExW(path, level, data);
}
BOOL WINAPI countingVirtualProtect(void* address, SIZE_T size, DWORD protection, DWORD* previous) {
    ++counts.protectionChanges;
    return realVirtualProtect(address, size, protection, previous);
}

// Swaps the module's import slot of dll!name for the replacement; the real target goes to
// *real. An import the module does not have is left alone.
template <class Function>
void redirectImport(void* module, const char* dll, const char* name, Function replacement,
                    Function* real) {
    auto* base = static_cast<uint8_t*>(module);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(
        base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const auto& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* import = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
         import->Name; ++import) {
        if (_stricmp(reinterpret_cast<char*>(base + import->Name), dll) != 0) continue;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + import->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + import->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<char*>(byName->Name), name) != 0) continue;
            DWORD previous = 0;
            VirtualProtect(&slots->u1.Function, sizeof(void*), PAGE_READWRITE, &previous);
            *real = reinterpret_cast<Function>(slots->u1.Function);
            slots->u1.Function = reinterpret_cast<uintptr_t>(replacement);
            VirtualProtect(&slots->u1.Function, sizeof(void*), previous, &previous);
        }
    }
}

} // namespace

void countServiceCalls(void* module) {
    redirectImport(module, "msvcrt.dll", "malloc", &countingMalloc, &realMalloc);
    redirectImport(module, "msvcrt.dll", "calloc", &countingCalloc, &realCalloc);
    redirectImport(module, "msvcrt.dll", "realloc", &countingRealloc, &realRealloc);
    redirectImport(module, "msvcrt.dll", "fopen", &countingFopen, &realFopen);
    redirectImport(module, "msvcrt.dll", "_wfopen", &countingWfopen, &realWfopen);
    redirectImport(module, "kernel32.dll", "CreateFileA", &countingCreateFileA, &realCreateFileA);
    redirectImport(module, "kernel32.dll", "CreateFileW", &countingCreateFileW, &realCreateFileW);
    redirectImport(module, "user32.dll", "GetKeyState", &countingGetKeyState, &realGetKeyState);
    redirectImport(module, "user32.dll", "GetKeyboardState", &countingGetKeyboardState,
                   &realGetKeyboardState);
    redirectImport(module, "kernel32.dll", "GetFileAttributesExA", &countingGetFileAttributesExA,
                   &realGetFileAttributesExA);
    redirectImport(module, "kernel32.dll", "GetFileAttributesExW", &countingGetFileAttributesExW,
                   &realGetFileAttributesExW);
    redirectImport(module, "kernel32.dll", "VirtualProtect", &countingVirtualProtect,
                   &realVirtualProtect);
}

const ServiceCalls& serviceCalls() {
    return counts;
}

void resetServiceCalls() {
    counts = ServiceCalls{};
}

} // namespace sim
