#pragma once
// The weapon wheel's geometry, worked out once per frame.

struct QuadCorners {
    double x1, y1, x2, y2, x3, y3, x4, y4;
};

struct ScreenMetrics {
    double screenWidth;
    double screenHeight;
    double centreX;
    double centreY;
    double wheelHalfSize;
    double fixedAngle;
    QuadCorners selectorQuad; // turned towards the current weapon
    QuadCorners fixedQuad;    // the wheel's fixed orientation
};

extern ScreenMetrics screenMetrics;

void computeScreenMetrics();
