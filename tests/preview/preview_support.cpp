#include "preview/preview_support.h"
#include "support/plugin_session.h"

#include <algorithm>
#include <cstdlib>

namespace preview_testing {

const preview::Fonts& fonts() {
    static preview::Fonts loaded = [] {
        preview::Fonts f;
        f.load(testing_support::gameDirectory() + "fonts\\");
        return f;
    }();
    return loaded;
}

namespace {
bool near(preview::Rgba8 a, preview::Rgba8 b, int tolerance) {
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
           std::abs(a.b - b.b) <= tolerance;
}

template <class Match> Box boxOf(const preview::Image& image, Match match) {
    Box box{image.width, image.height, -1, -1};
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            if (!match(image.at(x, y))) continue;
            box.left = std::min(box.left, x);
            box.top = std::min(box.top, y);
            box.right = std::max(box.right, x);
            box.bottom = std::max(box.bottom, y);
        }
    }
    return box;
}
} // namespace

Box inkBox(const preview::Image& image, preview::Rgba8 background) {
    return boxOf(image, [&](preview::Rgba8 c) { return !(c == background); });
}

Box colourBox(const preview::Image& image, preview::Rgba8 colour, int tolerance) {
    return boxOf(image, [&](preview::Rgba8 c) { return near(c, colour, tolerance); });
}

int countColour(const preview::Image& image, preview::Rgba8 colour, int tolerance) {
    int count = 0;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            count += near(image.at(x, y), colour, tolerance);
    return count;
}

} // namespace preview_testing
