#include "screen/shown_for_a_while.h"

#include <limits>

void trigger(ShownForAWhile& shown, uint32_t now) {
    shown.triggered = true;
    shown.triggeredAt = now;
}

uint32_t timeSinceTrigger(const ShownForAWhile& shown, uint32_t now) {
    if (!shown.triggered) return std::numeric_limits<uint32_t>::max();
    return now - shown.triggeredAt;
}

bool shownAt(const ShownForAWhile& shown, uint32_t now, uint32_t duration) {
    return shown.triggered && now - shown.triggeredAt <= duration;
}
