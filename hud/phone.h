#pragma once
// The phone's own state, beside drawPhone (hud_drawers.h). A start of the game puts the phone
// away with everything else shown for a while (shown_for_a_while.h).
#include "hud/shown_for_a_while.h"

// Out for its time after P, sliding up at first; sliding down for a moment after O.
struct PhoneTimer {
    ShownForAWhile out;
    ShownForAWhile slidingDown;
};

extern PhoneTimer phoneTimer;
