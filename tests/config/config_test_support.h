#pragma once

#include <filesystem>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include <algorithm>

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

// The .ini case files of a folder beside the test program, sorted; fails the test when none.
std::vector<std::filesystem::path> caseFilesIn(const std::string& folder);

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

// A game folder of the test's own under the working directory, emptied before and after.
class GameFolder : public ::testing::Test {
  protected:
    explicit GameFolder(std::string folder) : root(std::move(folder)) {}
    void SetUp() override {
        std::filesystem::remove_all(root);
        resolverLog = {root, {}};
    }
    void TearDown() override { std::filesystem::remove_all(root); }

    // Writes a file named as the HUD names it, relative to the game folder.
    void write(const std::string& relativeName, std::string_view bytes) {
        std::string path = root + "/" + relativeName;
        std::replace(path.begin(), path.end(), '\\', '/');
        writeFile(path, bytes);
    }

    const std::string root;
};
