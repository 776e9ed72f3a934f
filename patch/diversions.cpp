#include "patch/diversions.h"
#include "patch/scoped.h"

#include <algorithm>
#include <atomic>
#include <cstddef>

namespace patch {
namespace {

// Six call sites and three routine jumps per game, with room to spare; no allocation, so the
// list outlives every object that is in it.
const scoped_base* diversions[16];
size_t diversionCount = 0;
// A branch dropped while rewritten: whatever rewrote it may still lead here.
bool droppedRewritten = false;
std::atomic<bool> bypassed{false};

const scoped_base** end_of_diversions() {
    return diversions + diversionCount;
}

} // namespace

void remember_diversion(const scoped_base* branch) {
    if (std::find(diversions, end_of_diversions(), branch) != end_of_diversions()) return;
    if (diversionCount < std::size(diversions)) diversions[diversionCount++] = branch;
}

void forget_diversion(const scoped_base* branch) {
    const scoped_base** found = std::find(diversions, end_of_diversions(), branch);
    if (found == end_of_diversions()) return;
    if (branch->rewritten()) droppedRewritten = true;
    *found = diversions[--diversionCount];
}

bool any_diversion_rewritten() {
    return droppedRewritten ||
           std::any_of(diversions, end_of_diversions(),
                       [](const scoped_base* branch) { return branch->rewritten(); });
}

void bypass_chains() {
    bypassed = true;
}

bool chains_bypassed() {
    return bypassed.load(std::memory_order_relaxed);
}

} // namespace patch
