#pragma once
// The run outside: a game directory of its own, laid out in a temporary folder, where a copy of
// this program plays as the game, and the renders it asks of that run.
#include "tools/preview/page/watch.h"
#include "tools/preview/run/home.h"
#include "tools/preview/run/run_options.h"

#include <windows.h>

#include <filesystem>
#include <map>
#include <string>
#include <system_error>
#include <vector>

namespace preview {

// The game directory and the run of this program inside it; both are cleared away with it.
class GameDirectory {
  public:
    GameDirectory(const Options& options, const Home& home);
    ~GameDirectory();
    GameDirectory(const GameDirectory&) = delete;
    GameDirectory& operator=(const GameDirectory&) = delete;

    // Plays with the data folder as it is now, the size first first when it is one of those
    // rendered (an edit was made in a frame of that size): 0 when every frame was written.
    int render(Size first = {0, 0});

  private:
    // Copies this program, the plug-in and its symbols in; once, as the game directory is made.
    std::error_code copyProgramAndPlugin() const;
    // Copies into the game's tarvel_moravik each file of the data folder's that changed since
    // its last copy, and deletes the copies of files deleted. A file another program holds is
    // waited for; one still held is laid out held too, so that the game meets it as it would.
    std::error_code syncDataFolder();
    // Under --fill-art: a dictionary the data folder lacks, from the project's own art.
    std::error_code fillMissingDictionaries() const;
    // Runs the game once to its end; its exit code.
    int playOnce();
    // Under --watch: asks the run inside for one more render, first at the size given when it
    // is one of those rendered, and waits for it.
    int playAgain(Size first);
    // What the plug-in wrote to its log, as a player's game directory would hold it.
    bool copyLog() const;

    void holdAsHeld(const std::filesystem::path& file, const std::filesystem::path& copy);
    void letGo();
    bool start();
    void end();

    const Options& options_;
    const Home& home_;
    std::string problem_; // why there is no game directory
    std::filesystem::path game_;
    HANDLE inUse_ = INVALID_HANDLE_VALUE;
    std::error_code programCopied_; // why this program or the plug-in could not be copied in
    PROCESS_INFORMATION process_{};
    HANDLE again_ = nullptr;
    HANDLE done_ = nullptr;
    std::vector<HANDLE> held_; // copies held as another program holds their files
    // Each file copied, relative to tarvel_moravik, by the stamp its original had then.
    std::map<std::filesystem::path, FileStamp> copied_;
    bool rendered_ = false;
};

// Renders once, or under --watch on every save until Ctrl+C, and names the page to open.
int renderFromOutside(const Options& options, const Home& home);

} // namespace preview
