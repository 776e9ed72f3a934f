#pragma once
// What the preview says on its console, and how it shows paths and times there.
#include <cstdio>
#include <string>

namespace preview {

// Prints UTF-8 text: to a console as its characters, whatever its code page (the C runtime
// would take the bytes for characters of the system's code page); elsewhere as UTF-8.
__attribute__((format(printf, 2, 3))) void say(std::FILE* stream, const char* format, ...);

// "preview: <message>" on the error stream; 1, the exit code of a failed run.
int fail(const std::string& message);

// Paths on Wine's root drive are shown as the Unix paths they are.
std::string shown(std::string path);

// The address of a file for a browser: every byte but letters, digits and -._~/: escaped, so
// that a terminal takes it whole.
std::string fileAddress(const std::string& path);

// The local time as "2024-05-01 13:07:42".
std::string timeNow();

} // namespace preview
