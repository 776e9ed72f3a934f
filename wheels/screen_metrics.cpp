#include "wheels/screen_metrics.h"
#include "config/hud_settings.h"
#include "host/host_interface.h"
#include "wheels/wheel_state.h"

#include <cmath>

ScreenMetrics screenMetrics{};

namespace {

// The square of half-side h around the centre, turned by the angle whose cosine and sine
// (times h) are a and b.
QuadCorners turnedSquare(double centreX, double centreY, double a, double b) {
    return {centreX + (a - b), centreY + (a + b), centreX + (a + b), centreY + (b - a),
            centreX - (b + a), centreY + (a - b), centreX - (a - b), centreY - (a + b)};
}

} // namespace

void computeScreenMetrics() {
    auto& m = screenMetrics;
    m.screenHeight = static_cast<double>(host::screenHeight());
    m.screenWidth = static_cast<double>(host::screenWidth());
    m.centreY = m.screenHeight * 0.5;
    m.centreX = m.screenWidth * 0.5;
    m.wheelHalfSize =
        m.centreY /
        static_cast<double>(wheelScaleMultiplier(hudSettings.WEAP_WHEEL_SCALE_MULTIPLIER));

    // Thirty degrees a weapon, with pi taken as 22/7.
    const double selectorAngle = static_cast<double>(currentWeaponIndex * 660) / 7.0 / 180.0;
    m.selectorQuad = turnedSquare(m.centreX, m.centreY, std::cos(selectorAngle) * m.wheelHalfSize,
                                  std::sin(selectorAngle) * m.wheelHalfSize);

    m.fixedAngle = 11.0 / 7.0;
    m.fixedQuad = turnedSquare(m.centreX, m.centreY, std::cos(m.fixedAngle) * m.wheelHalfSize,
                               std::sin(m.fixedAngle) * m.wheelHalfSize);
}
