#pragma once
// The branches into the plug-in written in game code. At unload they answer one question: may
// the plug-in's code go, or does another program, which rewrote a site after the plug-in and
// kept what the site held, still call into it?
namespace patch {

// A branch of ours in game code, as the list sees it. The list is linked through the branches
// themselves: it holds any number of them without allocating, and outlives none of them.
class diversion {
  public:
    diversion() = default;
    // A copy is a branch of its own, not yet on the list.
    diversion(const diversion&) {}
    diversion& operator=(const diversion&) { return *this; }
    virtual ~diversion() = default;
    // True when the code no longer holds what this branch wrote: something else rewrote it since.
    virtual bool rewritten() const { return false; }
    // Puts the game's own bytes back where this branch wrote, for a branch that can.
    virtual void put_back() {}

  private:
    friend void remember_diversion(diversion* branch);
    friend void forget_diversion(diversion* branch);
    friend bool any_diversion_rewritten();
    diversion* previous_ = nullptr;
    diversion* next_ = nullptr;
    bool listed_ = false;
};

// A branch of ours is in game code; forgotten when it is put back or dropped.
void remember_diversion(diversion* branch);
void forget_diversion(diversion* branch);
// True when some branch of ours no longer holds the bytes we wrote, or was dropped (left in
// place) while it did not: asked once all branches made after the question's asker are gone.
bool any_diversion_rewritten();

// From now on every chain hands its call straight to the game's routine and runs nothing of
// ours. Plain data: it still reads right after the plug-in's objects are destroyed.
void bypass_chains();
bool chains_bypassed();

} // namespace patch
