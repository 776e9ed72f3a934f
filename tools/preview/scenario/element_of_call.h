#pragma once
// Which HUD element made a host call. The plug-in stays exactly as it is: its functions and the
// source file each comes from are read from the DLL's symbol table, and the call stack is walked
// with the DLL's unwind tables. The innermost function from an element's file names the element.
#include <windows.h>

#include <string>

namespace preview {

// Reads the plug-in's symbols and unwind tables from its file; false, with error set, when the
// DLL carries no symbol table (a stripped build).
bool startNamingElements(HMODULE plugin, std::string& error);
// Forgets the plug-in's unwind tables; before the DLL is unloaded.
void stopNamingElements();

// The element whose function is on the call stack now, or "" outside every element.
std::string elementOfCall();

} // namespace preview
