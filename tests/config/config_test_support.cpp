#include "config_test_support.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>

IniReader readerOf(std::string_view text) {
    IniReader reader;
    reader.parse(text.data(), text.size());
    return reader;
}

std::vector<std::filesystem::path> caseFilesIn(const std::string& folder) {
    std::vector<std::filesystem::path> inputs;
    for (const auto& item : std::filesystem::directory_iterator(folder)) {
        if (item.path().extension() == ".ini") inputs.push_back(item.path());
    }
    std::sort(inputs.begin(), inputs.end());
    EXPECT_FALSE(inputs.empty()) << "no case files in " << folder << " beside the test program";
    return inputs;
}

void writeFile(const std::string& path, std::string_view bytes) {
    const std::filesystem::path file(path);
    if (file.has_parent_path()) std::filesystem::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good()) << path;
}

void expectSameColors(const HudColors& actual, const HudColors& expected) {
    forEachColorField([&](std::string_view key, Rgba HudColors::*field) {
        EXPECT_EQ(actual.*field, expected.*field) << key;
    });
}

void expectSameSettings(const HudSettings& actual, const HudSettings& expected) {
    forEachSettingsField([&](std::string_view key, auto field) {
        EXPECT_EQ(actual.*field, expected.*field) << key;
    });
    expectSameColors(actual.colors, expected.colors);
    EXPECT_EQ(actual.reloadKey, expected.reloadKey) << "RELOAD_SETTINGS";
}

ResolverLog resolverLog;

const char* resolveUnderRoot(const char* relativeName) {
    static char buffer[1024];
    resolverLog.requested.emplace_back(relativeName);
    std::string path = resolverLog.root + "/" + relativeName;
    std::replace(path.begin(), path.end(), '\\', '/');
    std::snprintf(buffer, sizeof buffer, "%s", path.c_str());
    return buffer;
}
