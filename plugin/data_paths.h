#pragma once
// The game directory and full paths of the plug-in's data files.

#include <string>

// The game executable's folder, ending with its separator.
const char* gameDirectory();
// The folder part of an executable's path, up to and with its last '\\' or '/'.
std::string directoryOf(const std::string& executablePath);
// Game directory + a name relative to it ("tarvel_moravik\\tarvel_III.ini"). The result lives
// in storage shared by all callers: use it before the next call.
const char* dataPath(const char* relativeName);
