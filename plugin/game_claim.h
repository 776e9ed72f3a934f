#pragma once
// One copy of the plug-in per game process. A player may install it twice (the game folder and
// scripts\, or an .asi beside an older .dll); two copies would take over every call site twice,
// draw everything twice and call into each other's code after one is unloaded. So the first
// copy claims the process before anything else at load, and a later one leaves the game alone.

// Claims the process for this copy; true when no other copy holds it. Call once, first.
bool claimGame();
// For a copy that found the claim taken: the file of the copy that holds it (UTF-8).
const char* claimingCopy();
// Lets the claim go, at unload of the copy that holds it.
void releaseGameClaim();
