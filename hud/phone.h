#pragma once
// The phone beside drawPhone (hud_drawers.h): a start of the game puts it away with everything
// else shown for a while.

// Ends the phone's time out and its slide down: it is drawn again only after the next P.
void putPhoneAway();
