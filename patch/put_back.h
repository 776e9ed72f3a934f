#pragma once
// At the end of a working copy: every branch of ours still in game code is put back, where it
// still holds what we wrote, before the game is handed to the next copy.
namespace patch {

void put_back_branches();

} // namespace patch
