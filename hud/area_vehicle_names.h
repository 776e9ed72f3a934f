#pragma once

// At plug-in load: the area and vehicle name displays take up the game's own display state of
// the moment, so a name already on screen in the game is not announced again. Only a build whose
// addresses are all known is read; elsewhere both displays start idle.
void seedNameDisplays();
