#pragma once
// One copy of the plug-in works the game at a time. A player may install it twice (the game
// folder and scripts\, or an .asi beside an older .dll), and a hot reloader may load the new copy
// before it frees the old: two copies would take over every call site twice, draw everything
// twice and call into each other's code after one is unloaded. So the first copy claims the
// process before anything else at load, and a later one waits, touching nothing, until the copy
// holding the game lets go of it at unload and hands it on.

enum class ClaimAtLoad {
    Holding, // this copy works the game
    Waiting, // another copy does; this one waits in line to take over
    // A copy of an older release does, which hands the game to no other copy: this one waits.
    WaitingBesideOlderRelease,
};

// Claims the process for this copy. Unless it holds the claim now, the copy waits in line:
// takeOver runs inside the unload of the copy holding the game, once that copy has put back all
// it wrote, and this copy then holds the claim. Call once, first.
ClaimAtLoad claimGame(void (*takeOver)());
// For a copy that found the claim taken, or took it over: the file of the copy that held it
// (UTF-8).
const char* claimingCopy();
// At unload. The copy holding the claim hands it to the copy that has waited longest, when
// handOver is set (not while the process ends); a waiting copy leaves the line.
void releaseGameClaim(bool handOver);
