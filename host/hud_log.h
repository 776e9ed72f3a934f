#pragma once
// tarvel_moravik\tarvel_hud.log: what the HUD did, for a player to read and to post when it does
// not appear or an edit seems to do nothing. It is written at load, at each start and after a
// settings file changed, never on a steady frame. It stays open while the HUD is loaded, shared so
// that a player may read or delete it meanwhile. A log that cannot be written is skipped: it
// changes nothing else. One another program holds at load is created with the next line
// written (at the next start or settings change), which says that the earlier lines are lost.
#include <string>

// The log file, relative to the game directory.
inline constexpr char logFile[] = "tarvel_moravik\\tarvel_hud.log";
// The most the log grows to; past it one line says so and later lines are left out.
inline constexpr long logCapacity = 64 * 1024;

// Where the log is written and what its first line names: the game directory (UTF-8, ending with
// its separator) and the file this copy of the plug-in was loaded from (empty when unknown).
struct LogPlace {
    std::string gameDirectory;
    std::string pluginFile;
};

// Creates the log afresh, headed by the HUD's version and the file it was loaded from.
void startLog(const LogPlace& place);
// For a copy of the plug-in loaded while another runs: appends one line to that copy's log that
// names both and says this one waits; whether it can take over is told by olderRelease.
void logSecondCopy(const LogPlace& place, const char* runningCopy, bool olderRelease);
// For a waiting copy that takes the game over at the other's unload: appends to that copy's log
// one line that names both; later lines follow it.
void logTakeOver(const LogPlace& place, const char* previousCopy);
// Lets go of the log, at unload; later lines are left out.
void closeLog();
// Appends one line, formatted as printf does; the line end is added.
void logLine(const char* format, ...) __attribute__((format(printf, 1, 2)));
