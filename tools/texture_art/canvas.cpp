#include "tools/texture_art/canvas.h"

#include <algorithm>
#include <cmath>

namespace art {
namespace {

constexpr float pi = 3.14159265f;

float signedArea(const std::vector<Vec>& outline) {
    float area = 0;
    for (size_t i = 0, j = outline.size() - 1; i < outline.size(); j = i++)
        area += outline[j].x * outline[i].y - outline[i].x * outline[j].y;
    return area * 0.5f;
}

// Every outline a shape function makes winds the same way, so that overlaps add up.
Path single(std::vector<Vec> outline) {
    if (outline.size() >= 3 && signedArea(outline) < 0)
        std::reverse(outline.begin(), outline.end());
    Path path;
    path.outlines.push_back(std::move(outline));
    return path;
}

int segmentsFor(float radius) {
    return std::clamp(static_cast<int>(radius * 0.6f), 24, 256);
}

struct Edge {
    float x0, y0, x1, y1;
    int direction;
};

constexpr int samplesDown = 8;

} // namespace

Path& Path::add(const Path& other) {
    outlines.insert(outlines.end(), other.outlines.begin(), other.outlines.end());
    return *this;
}

Path polygon(std::vector<Vec> corners) {
    return single(std::move(corners));
}

Path rect(float left, float top, float right, float bottom) {
    return single({{left, top}, {right, top}, {right, bottom}, {left, bottom}});
}

Path roundedRect(float left, float top, float right, float bottom, float radius) {
    radius = std::min({radius, (right - left) / 2, (bottom - top) / 2});
    if (radius <= 0) return rect(left, top, right, bottom);
    std::vector<Vec> points;
    const int steps = std::max(6, segmentsFor(radius) / 4);
    const Vec centres[4] = {{right - radius, top + radius},
                            {right - radius, bottom - radius},
                            {left + radius, bottom - radius},
                            {left + radius, top + radius}};
    for (int corner = 0; corner < 4; ++corner) {
        for (int i = 0; i <= steps; ++i) {
            const float a = (corner + float(i) / steps) * pi / 2;
            points.push_back({centres[corner].x + radius * std::sin(a),
                              centres[corner].y - radius * std::cos(a)});
        }
    }
    return single(std::move(points));
}

Path ellipse(float cx, float cy, float rx, float ry) {
    std::vector<Vec> points;
    const int steps = segmentsFor(std::max(rx, ry));
    for (int i = 0; i < steps; ++i) {
        const float a = 2 * pi * i / steps;
        points.push_back({cx + rx * std::sin(a), cy - ry * std::cos(a)});
    }
    return single(std::move(points));
}

Path circle(float cx, float cy, float r) {
    return ellipse(cx, cy, r, r);
}

Path arcBand(float cx, float cy, float inner, float outer, float a0, float a1) {
    std::vector<Vec> points;
    const int steps = std::max(2, static_cast<int>(segmentsFor(outer) * (a1 - a0) / (2 * pi)));
    for (int i = 0; i <= steps; ++i) {
        const float a = a0 + (a1 - a0) * i / steps;
        points.push_back({cx + outer * std::sin(a), cy - outer * std::cos(a)});
    }
    for (int i = steps; i >= 0; --i) {
        const float a = a0 + (a1 - a0) * i / steps;
        points.push_back({cx + inner * std::sin(a), cy - inner * std::cos(a)});
    }
    return single(std::move(points));
}

Path ring(float cx, float cy, float inner, float outer) {
    Path path = circle(cx, cy, outer);
    return path.add(reversed(circle(cx, cy, inner)));
}

Path capsule(Vec a, Vec b, float width) {
    const float dx = b.x - a.x, dy = b.y - a.y;
    const float length = std::hypot(dx, dy);
    const float r = width / 2;
    if (length <= 0) return circle(a.x, a.y, r);
    const float nx = -dy / length * r, ny = dx / length * r;
    Path path = polygon(
        {{a.x + nx, a.y + ny}, {b.x + nx, b.y + ny}, {b.x - nx, b.y - ny}, {a.x - nx, a.y - ny}});
    path.add(circle(a.x, a.y, r));
    return path.add(circle(b.x, b.y, r));
}

Path stroke(const std::vector<Vec>& points, float width, bool closed) {
    Path path;
    for (size_t i = 0; i + 1 < points.size(); ++i)
        path.add(capsule(points[i], points[i + 1], width));
    if (closed && points.size() > 2) path.add(capsule(points.back(), points.front(), width));
    return path;
}

Path outlineOf(const Path& path, float width) {
    Path out;
    for (const auto& outline : path.outlines)
        out.add(stroke(outline, width, true));
    return out;
}

Path reversed(Path path) {
    for (auto& outline : path.outlines)
        std::reverse(outline.begin(), outline.end());
    return path;
}

Path transformed(const Path& path, float scale, Vec shift, float angle) {
    const float c = std::cos(angle), s = std::sin(angle);
    Path out = path;
    for (auto& outline : out.outlines)
        for (auto& p : outline)
            p = {shift.x + scale * (p.x * c - p.y * s), shift.y + scale * (p.x * s + p.y * c)};
    return out;
}

void bounds(const Path& path, Vec& topLeft, Vec& bottomRight) {
    topLeft = {1e30f, 1e30f};
    bottomRight = {-1e30f, -1e30f};
    for (const auto& outline : path.outlines)
        for (const auto& p : outline) {
            topLeft = {std::min(topLeft.x, p.x), std::min(topLeft.y, p.y)};
            bottomRight = {std::max(bottomRight.x, p.x), std::max(bottomRight.y, p.y)};
        }
}

Canvas::Canvas(int width, int height)
    : width_(width), height_(height), premultiplied_(size_t(width) * size_t(height) * 4, 0.0f) {}

void Canvas::fill(const Path& path, const Paint& paint) {
    const float gx = paint.end.x - paint.start.x, gy = paint.end.y - paint.start.y;
    const float gradientLength = gx * gx + gy * gy;
    cover(path, [&](float* pixel, int x, int row, float cover) {
        float t = 0;
        if (gradientLength > 0)
            t = std::clamp(((x + 0.5f - paint.start.x) * gx + (row + 0.5f - paint.start.y) * gy) /
                               gradientLength,
                           0.0f, 1.0f);
        auto mix = [t](uint8_t p, uint8_t q) { return (p + (q - p) * t) / 255.0f; };
        const float alpha = mix(paint.from.a, paint.to.a) * cover;
        pixel[0] = mix(paint.from.r, paint.to.r) * alpha + pixel[0] * (1 - alpha);
        pixel[1] = mix(paint.from.g, paint.to.g) * alpha + pixel[1] * (1 - alpha);
        pixel[2] = mix(paint.from.b, paint.to.b) * alpha + pixel[2] * (1 - alpha);
        pixel[3] = alpha + pixel[3] * (1 - alpha);
    });
}

void Canvas::erase(const Path& path) {
    cover(path, [](float* pixel, int, int, float cover) {
        for (int i = 0; i < 4; ++i)
            pixel[i] *= 1 - cover;
    });
}

template <class Blend> void Canvas::cover(const Path& path, Blend blend) {
    std::vector<Edge> edges;
    float top = 1e30f, bottom = -1e30f;
    for (const auto& outline : path.outlines) {
        for (size_t i = 0, j = outline.size() - 1; i < outline.size(); j = i++) {
            const Vec a = outline[j], b = outline[i];
            if (a.y == b.y) continue;
            edges.push_back(a.y < b.y ? Edge{a.x, a.y, b.x, b.y, 1} : Edge{b.x, b.y, a.x, a.y, -1});
            top = std::min(top, std::min(a.y, b.y));
            bottom = std::max(bottom, std::max(a.y, b.y));
        }
    }
    if (edges.empty()) return;
    const int firstRow = std::max(0, static_cast<int>(std::floor(top)));
    const int lastRow = std::min(height_ - 1, static_cast<int>(std::ceil(bottom)));

    std::vector<float> coverage(size_t(width_) + 1);
    std::vector<std::pair<float, int>> crossings;
    for (int row = firstRow; row <= lastRow; ++row) {
        std::fill(coverage.begin(), coverage.end(), 0.0f);
        int spanLeft = width_, spanRight = -1;
        for (int sample = 0; sample < samplesDown; ++sample) {
            const float y = row + (sample + 0.5f) / samplesDown;
            crossings.clear();
            for (const auto& e : edges)
                if (y >= e.y0 && y < e.y1)
                    crossings.push_back(
                        {e.x0 + (y - e.y0) * (e.x1 - e.x0) / (e.y1 - e.y0), e.direction});
            std::sort(crossings.begin(), crossings.end());
            int winding = 0;
            float start = 0;
            for (const auto& [x, direction] : crossings) {
                const int before = winding;
                winding += direction;
                if (before == 0 && winding != 0) start = x;
                if (before == 0 || winding != 0) continue;
                // A span from start to x on this sample line: exact coverage across pixels.
                const float a = std::clamp(start, 0.0f, float(width_));
                const float b = std::clamp(x, 0.0f, float(width_));
                if (b <= a) continue;
                const int ia = static_cast<int>(a), ib = static_cast<int>(b);
                constexpr float share = 1.0f / samplesDown;
                if (ia == ib) {
                    coverage[ia] += (b - a) * share;
                } else {
                    coverage[ia] += (ia + 1 - a) * share;
                    for (int i = ia + 1; i < ib; ++i)
                        coverage[i] += share;
                    coverage[ib] += (b - ib) * share;
                }
                spanLeft = std::min(spanLeft, ia);
                spanRight = std::max(spanRight, std::min(ib, width_ - 1));
            }
        }
        for (int x = spanLeft; x <= spanRight; ++x) {
            const float amount = std::min(coverage[x], 1.0f);
            if (amount > 0) blend(&premultiplied_[(size_t(row) * width_ + x) * 4], x, row, amount);
        }
    }
}

void Canvas::overlay(const preview::Image& picture) {
    for (int y = 0; y < std::min(height_, picture.height); ++y)
        for (int x = 0; x < std::min(width_, picture.width); ++x) {
            const Rgba8 c = picture.at(x, y);
            const float alpha = c.a / 255.0f;
            float* pixel = &premultiplied_[(size_t(y) * width_ + x) * 4];
            pixel[0] = c.r / 255.0f * alpha + pixel[0] * (1 - alpha);
            pixel[1] = c.g / 255.0f * alpha + pixel[1] * (1 - alpha);
            pixel[2] = c.b / 255.0f * alpha + pixel[2] * (1 - alpha);
            pixel[3] = alpha + pixel[3] * (1 - alpha);
        }
}

preview::Image Canvas::image() const {
    preview::Image out(width_, height_);
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) {
            const float* p = &premultiplied_[(size_t(y) * width_ + x) * 4];
            if (p[3] <= 0) continue;
            auto channel = [&](float v) {
                return static_cast<uint8_t>(std::clamp(v / p[3], 0.0f, 1.0f) * 255.0f + 0.5f);
            };
            out.set(x, y,
                    {channel(p[0]), channel(p[1]), channel(p[2]),
                     static_cast<uint8_t>(std::clamp(p[3], 0.0f, 1.0f) * 255.0f + 0.5f)});
        }
    return out;
}

} // namespace art
