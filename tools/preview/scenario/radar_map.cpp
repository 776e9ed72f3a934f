// A small made-up town for the radar, drawn through the game's radar routines so that the
// plug-in's placement and square edge show as they would in the game.
#include "tools/preview/scenario/radar_map.h"

#include "sim/host_radar.h"

#include <algorithm>
#include <cmath>

namespace preview {

namespace {

// The radar shows this much of the town around the player, in town units per radar unit.
constexpr float radarRange = 1.0f;
constexpr Point playerAt{0.35f, -0.2f};
constexpr int cells = 96;

float fraction(float v) {
    return v - std::floor(v);
}

// The town: a coast to the east, a park, and a grid of streets.
Rgba8 townAt(float x, float y) {
    if (x + 0.25f * std::sin(y * 3.0f) > 1.05f) return {52, 92, 140, 255};
    const float dx = x + 0.45f, dy = y - 0.35f;
    if (dx * dx + dy * dy < 0.08f) return {70, 122, 64, 255};
    const float sx = fraction(x * 2.2f + 0.5f), sy = fraction(y * 2.2f + 0.5f);
    if (sx < 0.09f || sy < 0.09f) return {196, 192, 180, 255};
    return {128, 120, 104, 255};
}

Point onScreen(float x, float y) {
    const sim::RadarPoint p = sim::radarToScreen({x, y});
    return {p.x, p.y};
}

// A point of the town as the game places it: pulled onto the radar's edge when outside.
Point blipOnScreen(float townX, float townY) {
    sim::RadarPoint p{(townX - playerAt.x) / radarRange, (townY - playerAt.y) / radarRange};
    sim::radarLimit(p);
    return onScreen(p.x, p.y);
}

void fillSquareAt(Image& canvas, Point centre, float half, Rgba8 colour) {
    fillRect(canvas, centre.x - half, centre.y - half, centre.x + half, centre.y + half, colour);
}

} // namespace

void drawRadarMap(Image& canvas) {
    for (int j = 0; j < cells; ++j) {
        for (int i = 0; i < cells; ++i) {
            const float x0 = -1.0f + 2.0f * i / cells, x1 = -1.0f + 2.0f * (i + 1) / cells;
            const float y0 = -1.0f + 2.0f * j / cells, y1 = -1.0f + 2.0f * (j + 1) / cells;
            const Rgba8 colour = townAt(playerAt.x + (x0 + x1) * 0.5f * radarRange,
                                        playerAt.y + (y0 + y1) * 0.5f * radarRange);
            // Radar y grows upwards: (x0, y0) is the cell's bottom-left corner.
            fillQuad(canvas,
                     {onScreen(x0, y0), onScreen(x1, y0), onScreen(x0, y1), onScreen(x1, y1)},
                     colour);
        }
    }
    const float size = std::max(2.0f, canvas.height / 216.0f);
    // Blips: two in view, two far off that the radar's edge holds.
    fillSquareAt(canvas, blipOnScreen(-0.1f, 0.3f), size, {235, 200, 40, 255});
    fillSquareAt(canvas, blipOnScreen(0.9f, -0.6f), size, {220, 60, 200, 255});
    fillSquareAt(canvas, blipOnScreen(3.0f, 0.8f), size, {230, 60, 60, 255});
    fillSquareAt(canvas, blipOnScreen(-2.0f, -2.5f), size, {80, 200, 255, 255});
    const Point player = onScreen(0.0f, 0.0f);
    fillSquareAt(canvas, player, size * 1.3f, {0, 0, 0, 255});
    fillSquareAt(canvas, player, size * 0.8f, {255, 255, 255, 255});
}

} // namespace preview
