#pragma once
// Loads the real plug-in into the simulated game, as the game's loader would, for one test.
#include "sim/sim.h"

#include <string>

namespace testing_support {

// The folder of the running test program: the game directory the plug-in sees.
std::string gameDirectory();
// The path of a file under <game directory>/tarvel_moravik/.
std::string dataFilePath(const std::string& relativeName);
// Writes a file under <game directory>/tarvel_moravik/ (folders made as needed).
void writeDataFile(const std::string& relativeName, const std::string& contents);
// Deletes a file under <game directory>/tarvel_moravik/: false when it is still there.
bool removeDataFile(const std::string& relativeName);
// Clears tarvel_moravik/ and lays the shipped texture dictionaries back into it, so that every
// test starts from the game's own art and no configuration.
void removeDataFolder();

// Runs a program that lies beside the running test program, waits for it (a minute at most)
// and gives its exit code.
unsigned long runBesideThisProgram(const std::string& program);

class PluginSession {
  public:
    // Lays out the build, then maps tarvel_hud.dll into the process.
    explicit PluginSession(sim::Build build = sim::Build::v100, bool layOut = true);
    ~PluginSession();
    PluginSession(const PluginSession&) = delete;
    PluginSession& operator=(const PluginSession&) = delete;

    void unload();
    bool loaded() const { return module_ != nullptr; }
    // True when the address lies inside the plug-in's image.
    bool inPlugin(uint32_t address) const;

  private:
    void* module_ = nullptr;
};

} // namespace testing_support
