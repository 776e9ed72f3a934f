#pragma once
// The game directory, full paths of the plug-in's data files, the one error box the user can
// see, and printing 8-bit text through the game's 16-bit text printer.

#include <string>

// The game executable's folder, ending with its separator.
const char* gameDirectory();
// The folder part of an executable's path, up to and with its last '\\' or '/'.
std::string directoryOf(const std::string& executablePath);
// Game directory + a name relative to it ("tarvel_moravik\\tarvel_III.ini"). The result lives
// in storage shared by all callers: use it before the next call.
const char* dataPath(const char* relativeName);
// Formats an error text into the shared error buffer (1024 bytes, always terminated).
const char* formatError(const char* format, ...);
// Prints text at (x, y) in pixels with the game's current text state.
void printText(const char* text, float x, float y);
