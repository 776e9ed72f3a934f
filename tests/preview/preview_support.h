#pragma once
// Shared by the preview's tests: the fonts beside the test program, and where ink landed.
#include "tools/preview/render/renderer.h"

namespace preview_testing {

namespace colours {
constexpr preview::Rgba8 black{0, 0, 0, 255};
constexpr preview::Rgba8 red{255, 0, 0, 255};
constexpr preview::Rgba8 green{0, 255, 0, 255};
constexpr preview::Rgba8 blue{0, 0, 255, 255};
constexpr preview::Rgba8 white{255, 255, 255, 255};
} // namespace colours

// DejaVu faces copied beside the test program at build time.
const preview::Fonts& fonts();

// The smallest box holding every pixel that differs from the background colour.
struct Box {
    int left = 0, top = 0, right = -1, bottom = -1; // inclusive; empty when right < left
    bool empty() const { return right < left; }
};
Box inkBox(const preview::Image& image, preview::Rgba8 background);
// Box of the pixels close to a colour (each channel within tolerance).
Box colourBox(const preview::Image& image, preview::Rgba8 colour, int tolerance = 8);
int countColour(const preview::Image& image, preview::Rgba8 colour, int tolerance = 8);

} // namespace preview_testing
