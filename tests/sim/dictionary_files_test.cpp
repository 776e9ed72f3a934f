// The game's dictionary routines work on the files: loading parses one, finding a texture gives
// the parsed texture by name, whatever its case, or null.
#include "sim/host_data.h"
#include "sim/host_map.h"
#include "sim/sim.h"
#include "support/plugin_session.h"
#include "texdict/texdict.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

using Load = void*(__attribute__((cdecl)) *)(const char*);
using Find = const sim::Texture*(__attribute__((cdecl)) *)(void*, const char*);

const auto load = reinterpret_cast<Load>(sim::host::dictionaryLoad);
const auto find = reinterpret_cast<Find>(sim::host::textureFind);

class DictionaryFiles : public testing::Test {
  protected:
    void SetUp() override {
        sim::layOut(sim::Build::v100);
        std::filesystem::create_directories(folder);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }
    std::string file(const std::string& name) { return folder + "\\" + name; }

    const std::string folder = testing_support::gameDirectory() + "dictionary_files";
};

TEST_F(DictionaryFiles, LoadingParsesTheFileAndFindingIgnoresCase) {
    texdict::Dictionary written;
    written.textures.push_back({"siteM16", 2, 1, {1, 2, 3, 4, 5, 6, 7, 8}, ""});
    written.textures.push_back({"bar", 1, 1, {9, 9, 9, 255}, ""});
    std::string error;
    ASSERT_TRUE(texdict::writeFile(file("main.txd"), written, error)) << error;

    void* dictionary = load(file("main.txd").c_str());
    ASSERT_NE(dictionary, nullptr);
    const sim::Texture* texture = find(dictionary, "SITEm16");
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(texture->name, "siteM16");
    EXPECT_EQ(texture->dictionary, "main");
    EXPECT_EQ(texture->width, 2);
    EXPECT_EQ(texture->rgba, written.textures[0].rgba);
    EXPECT_EQ(find(dictionary, "star"), nullptr);
    EXPECT_EQ(find(dictionary, "bar")->rgba, written.textures[1].rgba);
}

// Under Wine, sharing is judged per file on disk: the tests' game folders hold hard links to the
// same dictionaries, and they delete theirs while others load.
TEST_F(DictionaryFiles, AnotherLinkToTheFileBeingDeletedLeavesItsTexturesLoadable) {
    texdict::Dictionary written;
    written.textures.push_back({"star", 1, 1, {1, 2, 3, 4}, ""});
    std::string error;
    ASSERT_TRUE(texdict::writeFile(file("main.txd"), written, error)) << error;
    std::filesystem::create_hard_link(file("main.txd"), file("other.txd"));
    const HANDLE deleting = CreateFileA(file("other.txd").c_str(), DELETE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    ASSERT_NE(deleting, INVALID_HANDLE_VALUE);
    void* dictionary = load(file("main.txd").c_str());
    CloseHandle(deleting);
    ASSERT_NE(find(dictionary, "star"), nullptr);
    EXPECT_FALSE(std::filesystem::exists(file("other.txd")));
}

TEST_F(DictionaryFiles, AMissingOrUnreadableFileGivesADictionaryWithoutTextures) {
    std::ofstream(file("broken.txd"), std::ios::binary) << "not a dictionary";
    for (const char* name : {"missing.txd", "broken.txd"}) {
        void* dictionary = load(file(name).c_str());
        ASSERT_NE(dictionary, nullptr) << name;
        EXPECT_EQ(find(dictionary, "bar"), nullptr) << name;
    }
}

} // namespace
