#include "hud/radar_routines.h"
#include "config/hud_settings.h"
#include "host/host_interface.h"
#include "patch/branch.h"
#include "patch/scoped.h"
#include "screen/exact_arithmetic.h"

#include <cmath>
#include <cstdint>

namespace {

constexpr double squareRootOfTwo = 1.4142135623730951;
constexpr double halfSquareRootOfTwo = 0.7071067811865476;
constexpr double twelfthOfPi = 0.2617993877991494;

// The screen's short side in pixels, read afresh: the radar keeps its proportions.
float shortSide() {
    const int32_t w = host::screenWidthPixels();
    const int32_t h = host::screenHeightPixels();
    return static_cast<float>(w < h ? w : h);
}

// A radar length in units of a 1080-pixel short side, cut to whole pixels: multiply first.
float wholePixels(float side, float units) {
    return truncated(roundedToFloat(roundedToFloat(side * units) / 1080.0f));
}

void clampToUnit(float& value) {
    if (value > 1.0f)
        value = 1.0f;
    else if (value < -1.0f)
        value = -1.0f;
}

static_assert(sizeof(ScreenPoint) == 2 * sizeof(float), "the game reads points as float pairs");

void toScreen(ScreenPoint* out, const RadarPoint* in) {
    const auto& s = hudSettings;
    // The game may hand the same point for both.
    const float x = in->x;
    const float y = in->y;

    float side = shortSide();
    const float widthPx = wholePixels(side, s.INNER_RADAR_SCALE_A.y);
    const float leftPx = wholePixels(side, s.INNER_RADAR_SCALE_A.x);
    out->x = roundedToFloat(roundedToFloat(x + 1.0f) * 0.5f * widthPx) + leftPx;

    side = shortSide();
    const float heightPx = wholePixels(side, s.INNER_RADAR_SCALE_B.x);
    const float topPx = wholePixels(side, s.INNER_RADAR_SCALE_B.y);
    const float radarTop = roundedToFloat(host::screenHeight() - topPx);
    out->y = roundedToFloat(roundedToFloat(1.0f - y) * 0.5f * heightPx) + radarTop;
}

float limit(RadarPoint* point) {
    const float squares =
        roundedToFloat(roundedToFloat(point->x * point->x) + roundedToFloat(point->y * point->y));
    const float length = roundedToFloat(
        static_cast<float>(roundedToDouble(std::sqrt(static_cast<double>(squares)))));

    // Outside the circle through the square's corners: back onto that circle, same direction.
    if (static_cast<double>(length) > squareRootOfTwo) {
        const double d = roundedToDouble(length * halfSquareRootOfTwo);
        point->x = static_cast<float>(roundedToDouble(point->x / d));
        point->y = static_cast<float>(roundedToDouble(point->y / d));
    }
    clampToUnit(point->x);
    clampToUnit(point->y);
    return length;
}

void maskFans() {
    struct RenderState {
        int state;
        uint32_t value;
    };
    constexpr RenderState states[] = {{1, 0}, {10, 5}, {11, 6}, {14, 0}, {9, 2},
                                      {7, 1}, {6, 0},  {8, 1},  {12, 1}};
    for (const RenderState& r : states)
        host::setRenderState(r.state, r.value);

    // Every corner sits at the radar's centre, so each fan covers no pixel and the square radar
    // keeps its corners; the render states above stay set all the same.
    constexpr RadarPoint corners[4] = {};
    constexpr int fanPoints = 8;
    constexpr int triangleFan = 5;
    for (const RadarPoint& corner : corners) {
        ScreenPoint fan[fanPoints];
        toScreen(&fan[0], &corner);
        for (int i = 0; i < fanPoints - 1; ++i) {
            const double angle = roundedToFloat(static_cast<float>(i * twelfthOfPi));
            const float cosine = roundedToFloat(static_cast<float>(std::cos(angle)));
            const float sine = roundedToFloat(static_cast<float>(std::sin(angle)));
            const RadarPoint edge{cosine * corner.x, sine * corner.y};
            toScreen(&fan[i + 1], &edge);
        }
        host::fillVertices(fanPoints, reinterpret_cast<const float*>(fan));
        host::drawPrimitive(triangleFan, host::vertexBuffer(), fanPoints);
    }
}

// The game's own routine starts, put back when the plug-in is unloaded. Made at the first
// radar set-up, so they are put back before the plug-in's unload asks whether any of its
// branches was rewritten.
patch::scoped_jump (&radarJumps())[3] {
    static patch::scoped_jump jumps[3];
    return jumps;
}

} // namespace

// The game calls these in place of its own routines: nothing thrown may reach it.
void HOST_CDECL radar_to_screen(ScreenPoint* out, const RadarPoint* in) {
    try {
        toScreen(out, in);
    } catch (...) {
    }
}

float HOST_CDECL radar_limit(RadarPoint* point) {
    try {
        return limit(point);
    } catch (...) {
        return 0.0f;
    }
}

void HOST_CDECL radar_mask_fans() {
    try {
        maskFans();
    } catch (...) {
    }
}

void install_radar_jumps() {
    const auto& a = host::addresses();
    auto& jumps = radarJumps();
    jumps[0].write(adjustAddress(a.radarMaskFans), patch::code_address(&radar_mask_fans));
    jumps[1].write(adjustAddress(a.radarToScreen), patch::code_address(&radar_to_screen));
    jumps[2].write(adjustAddress(a.radarLimit), patch::code_address(&radar_limit));
}
