#pragma once
// The game's radar, moved to the rectangle of the layout file and given square edges: three of
// the game's radar routines are replaced wholesale by these, called by the game with its own
// arguments and calling convention.
#include "host/calling_convention.h"

// A point of radar space: the radar is the square [-1, 1] x [-1, 1], y growing upwards.
struct RadarPoint {
    float x, y;
};

// A point on the screen in pixels, y growing downwards.
struct ScreenPoint {
    float x, y;
};

void HOST_CDECL radar_to_screen(ScreenPoint* out, const RadarPoint* in);
// Pulls a point outside the radar square onto its edge; returns the point's length before.
float HOST_CDECL radar_limit(RadarPoint* point);
void HOST_CDECL radar_mask_fans();

// Points the three game routines at ours; the same bytes every time the radar is set up.
void install_radar_jumps();
