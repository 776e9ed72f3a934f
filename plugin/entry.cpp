// The DLL entry. It has nothing of its own to do: everything starts from the plug-in's global
// objects, which the runtime constructs before this is called and destroys after.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) {
    return TRUE;
}
