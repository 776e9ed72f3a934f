#pragma once
// What a loaded plug-in asks of the system, counted through its import table: under Wine each
// of these calls may be a round trip to the Wine server.

#include <string>
#include <vector>

namespace sim {

struct ServiceCalls {
    long allocations = 0;            // malloc, calloc and realloc of the C runtime
    long keyboardReads = 0;          // GetKeyState and GetKeyboardState
    long fileChecks = 0;             // GetFileAttributesExA and GetFileAttributesExW
    long fileOpens = 0;              // fopen, _wfopen, CreateFileA and CreateFileW
    long protectionChanges = 0;      // VirtualProtect: two per protection window
    std::vector<std::string> opened; // the files opened, in order (wide names as UTF-8)
};

// Points the module's imports of those services at counters. Once per loaded module.
void countServiceCalls(void* module);
// The counts since the last reset.
const ServiceCalls& serviceCalls();
void resetServiceCalls();

} // namespace sim
