// A plug-in that does nothing but carry the same static C and C++ runtime as the real one: what
// loading and unloading such a DLL costs the process before the plug-in does anything.
#include <windows.h>

#include <string>

namespace {
const std::string& runtimeInUse() {
    static const std::string text(64, 'x');
    return text;
}
const bool touched = !runtimeInUse().empty();
} // namespace

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) {
    return touched ? TRUE : FALSE;
}
