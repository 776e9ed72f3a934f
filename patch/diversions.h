#pragma once
// The branches into the plug-in written in game code. At unload they answer one question: may
// the plug-in's code go, or does another program, which rewrote a site after the plug-in and
// kept what the site held, still call into it?
namespace patch {

class scoped_base;

// A branch of ours is in game code; forgotten when it is put back or dropped.
void remember_diversion(const scoped_base* branch);
void forget_diversion(const scoped_base* branch);
// True when some branch of ours no longer holds the bytes we wrote, or was dropped (left in
// place) while it did not: asked once all branches made after the question's asker are gone.
bool any_diversion_rewritten();

// From now on every chain hands its call straight to the game's routine and runs nothing of
// ours. Plain data: it still reads right after the plug-in's objects are destroyed.
void bypass_chains();
bool chains_bypassed();

} // namespace patch
