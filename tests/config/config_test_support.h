#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "config/hud_settings.h"

// Readable failure messages for the configuration records.
inline void PrintTo(const FloatPair& pair, std::ostream* out) {
    *out << "(" << pair.x << ", " << pair.y << ")";
}
inline void PrintTo(const Rgba& color, std::ostream* out) {
    *out << "(" << int{color.r} << ", " << int{color.g} << ", " << int{color.b} << ", "
         << int{color.a} << ")";
}

// A reader over the given text, as if it were a file's bytes.
IniReader readerOf(std::string_view text);

// Writes bytes to a file under the working directory, creating its folders.
void writeFile(const std::string& path, std::string_view bytes);

// Every colour and every layout field, named by key on a mismatch.
void expectSameColors(const HudColors& actual, const HudColors& expected);
void expectSameSettings(const HudSettings& actual, const HudSettings& expected);

// A path resolver over one folder. Like the game's, it answers in one shared buffer that each
// call overwrites, and it records every name it was asked for.
struct ResolverLog {
    std::string root;
    std::vector<std::string> requested;
};
extern ResolverLog resolverLog;
const char* resolveUnderRoot(const char* relativeName);
