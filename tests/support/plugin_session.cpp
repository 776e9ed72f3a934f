#include "support/plugin_session.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace testing_support {

std::string gameDirectory() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string text = path;
    return text.substr(0, text.find_last_of("\\/") + 1);
}

std::string dataFilePath(const std::string& relativeName) {
    return gameDirectory() + "tarvel_moravik\\" + relativeName;
}

void writeDataFile(const std::string& relativeName, const std::string& contents) {
    const std::string path = dataFilePath(relativeName);
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << contents;
}

namespace {
// The dictionaries in every test program's folder are hard links to the build's one copy. Under
// Wine a delete fails while another program opens any link to that file (to link it again, say),
// so a delete is tried again for a while.
bool removePatiently(const std::filesystem::path& path) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::error_code failure;
        std::filesystem::remove_all(path, failure);
        if (!std::filesystem::exists(path, failure) && !failure) return true;
        Sleep(20);
    }
    return false;
}
} // namespace

bool removeDataFile(const std::string& relativeName) {
    return removePatiently(dataFilePath(relativeName));
}

void removeDataFolder() {
    namespace fs = std::filesystem;
    const fs::path folder = gameDirectory() + "tarvel_moravik";
    std::error_code failure;
    removePatiently(folder);
    fs::create_directories(folder, failure);
    for (const auto& entry : fs::directory_iterator(gameDirectory() + "dictionaries", failure)) {
        const fs::path placed = folder / entry.path().filename();
        fs::create_hard_link(entry.path(), placed, failure);
        if (failure) fs::copy_file(entry.path(), placed, failure);
    }
}

unsigned long runBesideThisProgram(const std::string& program) {
    const std::string path = gameDirectory() + program;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(path.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return 0xFFFFFFFF;
    WaitForSingleObject(process.hProcess, 60000);
    DWORD exitCode = 1234;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return exitCode;
}

namespace {
int loadedSessions = 0;
} // namespace

PluginSession::PluginSession(sim::Build build, bool layOut) {
    if (layOut) sim::layOut(build);
    module_ = LoadLibraryA("tarvel_hud.dll");
    EXPECT_NE(module_, nullptr) << "tarvel_hud.dll could not be loaded";
    if (module_) ++loadedSessions;
}

PluginSession::~PluginSession() {
    unload();
}

void PluginSession::unload() {
    if (!module_) return;
    FreeLibrary(static_cast<HMODULE>(module_));
    module_ = nullptr;
    // A copy that stayed in memory would be the next session's, never loaded afresh.
    if (--loadedSessions == 0) {
        EXPECT_EQ(GetModuleHandleA("tarvel_hud.dll"), nullptr)
            << "tarvel_hud.dll stayed in memory after its unload";
    }
}

bool PluginSession::inPlugin(uint32_t address) const {
    if (!module_) return false;
    const auto base = reinterpret_cast<uint32_t>(module_);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    return address >= base && address < base + nt->OptionalHeader.SizeOfImage;
}

} // namespace testing_support
