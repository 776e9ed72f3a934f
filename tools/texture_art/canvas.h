#pragma once
// Vector drawing for the default art: outlines made of straight edges, filled with the nonzero
// rule and anti-aliased (exact coverage across each pixel, eight samples down it).
#include "tools/preview/render/renderer.h"

#include <vector>

namespace art {

using preview::Rgba8;

struct Vec {
    float x = 0, y = 0;
};

// Closed outlines. The nonzero rule fills where they overlap; a reversed outline cuts a hole.
struct Path {
    std::vector<std::vector<Vec>> outlines;
    Path& add(const Path& other);
};

Path polygon(std::vector<Vec> corners);
Path rect(float left, float top, float right, float bottom);
Path roundedRect(float left, float top, float right, float bottom, float radius);
Path ellipse(float cx, float cy, float rx, float ry);
Path circle(float cx, float cy, float r);
// A band between two radii from angle a0 to a1 (radians, clockwise from twelve o'clock).
Path arcBand(float cx, float cy, float inner, float outer, float a0, float a1);
Path ring(float cx, float cy, float inner, float outer);
// A straight stroke with round ends.
Path capsule(Vec a, Vec b, float width);
// A line through the points, round at every end and joint.
Path stroke(const std::vector<Vec>& points, float width, bool closed = false);
// Each outline of the path traced as a closed line.
Path outlineOf(const Path& path, float width);
Path reversed(Path path);

// Moves a path: scaled about the origin, turned clockwise by `angle`, then shifted.
Path transformed(const Path& path, float scale, Vec shift, float angle = 0);
// The smallest box round a path: {left, top}, {right, bottom}.
void bounds(const Path& path, Vec& topLeft, Vec& bottomRight);

// A colour that may change from `from` to `to` along the line from `start` to `end`.
struct Paint {
    Rgba8 from;
    Rgba8 to;
    Vec start, end;
    Paint(Rgba8 colour) : from(colour), to(colour) {}
    Paint(Rgba8 a, Rgba8 b, Vec s, Vec e) : from(a), to(b), start(s), end(e) {}
};

class Canvas {
  public:
    Canvas(int width, int height);
    // Source-over, in pixel coordinates.
    void fill(const Path& path, const Paint& paint);
    // Clears what lies under the path, as far as it covers each pixel.
    void erase(const Path& path);
    // Lays a picture over the canvas, pixel for pixel.
    void overlay(const preview::Image& picture);
    preview::Image image() const;
    int width() const { return width_; }
    int height() const { return height_; }

  private:
    // Calls blend(pixel, x, y, coverage) for each pixel the path covers.
    template <class Blend> void cover(const Path& path, Blend blend);
    int width_, height_;
    std::vector<float> premultiplied_; // r, g, b, a per pixel, 0..1
};

} // namespace art
