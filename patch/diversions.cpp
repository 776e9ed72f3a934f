#include "patch/diversions.h"
#include "patch/put_back.h"

#include <atomic>

namespace patch {
namespace {

// The first branch on the list; plain data, so it reads right until the last branch is gone.
diversion* firstDiversion = nullptr;
// A branch dropped while rewritten: whatever rewrote it may still lead here.
bool droppedRewritten = false;
std::atomic<bool> bypassed{false};

} // namespace

void remember_diversion(diversion* branch) {
    if (branch->listed_) return;
    branch->listed_ = true;
    branch->previous_ = nullptr;
    branch->next_ = firstDiversion;
    if (firstDiversion) firstDiversion->previous_ = branch;
    firstDiversion = branch;
}

void forget_diversion(diversion* branch) {
    if (!branch->listed_) return;
    if (branch->rewritten()) droppedRewritten = true;
    (branch->previous_ ? branch->previous_->next_ : firstDiversion) = branch->next_;
    if (branch->next_) branch->next_->previous_ = branch->previous_;
    branch->listed_ = false;
    branch->previous_ = branch->next_ = nullptr;
}

bool any_diversion_rewritten() {
    if (droppedRewritten) return true;
    for (const diversion* branch = firstDiversion; branch; branch = branch->next_)
        if (branch->rewritten()) return true;
    return false;
}

void bypass_chains() {
    bypassed = true;
}

void put_back_branches() {
    // Each branch leaves the list as it is put back; one that would not is dropped from it.
    while (diversion* const branch = firstDiversion) {
        branch->put_back();
        if (firstDiversion == branch) forget_diversion(branch);
    }
}

bool chains_bypassed() {
    return bypassed.load(std::memory_order_relaxed);
}

} // namespace patch
