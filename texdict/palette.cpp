#include "texdict/palette.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <unordered_map>

namespace texdict {
namespace {

constexpr size_t paletteSize = 256;

uint32_t packed(const uint8_t* p) {
    uint32_t c;
    std::memcpy(&c, p, 4);
    return c;
}

// A colour premultiplied by its alpha: r, g, b, a, each 0..255.
using Seen = std::array<float, 4>;

Seen seen(const uint8_t* p) {
    const float a = p[3] / 255.0f;
    return {p[0] * a, p[1] * a, p[2] * a, float(p[3])};
}

float distance(const Seen& x, const Seen& y) {
    float sum = 0;
    for (int c = 0; c < 4; ++c)
        sum += (x[c] - y[c]) * (x[c] - y[c]);
    return sum;
}

uint8_t byte(float v) {
    return static_cast<uint8_t>(std::clamp(std::lround(v), 0L, 255L));
}

// Back to straight R, G, B, A bytes.
void store(const Seen& c, uint8_t* out) {
    const uint8_t a = byte(c[3]);
    for (int i = 0; i < 3; ++i)
        out[i] = a ? byte(c[i] * 255.0f / a) : 0;
    out[3] = a;
}

struct Weighted {
    Seen colour;
    float weight;
};

struct Box {
    size_t begin, end; // a range of the weighted colours
    float error = 0;   // weighted squared distance from the box's mean
    int widest = 0;    // the channel of the widest spread
};

Seen meanOf(const std::vector<Weighted>& points, size_t begin, size_t end) {
    Seen sum{};
    float weight = 0;
    for (size_t i = begin; i < end; ++i) {
        for (int c = 0; c < 4; ++c)
            sum[c] += points[i].colour[c] * points[i].weight;
        weight += points[i].weight;
    }
    for (auto& c : sum)
        c /= weight;
    return sum;
}

Box measured(const std::vector<Weighted>& points, size_t begin, size_t end) {
    Box box{begin, end};
    const Seen mean = meanOf(points, begin, end);
    Seen low, high;
    low.fill(std::numeric_limits<float>::max());
    high.fill(std::numeric_limits<float>::lowest());
    for (size_t i = begin; i < end; ++i) {
        box.error += distance(points[i].colour, mean) * points[i].weight;
        for (int c = 0; c < 4; ++c) {
            low[c] = std::min(low[c], points[i].colour[c]);
            high[c] = std::max(high[c], points[i].colour[c]);
        }
    }
    for (int c = 1; c < 4; ++c)
        if (high[c] - low[c] > high[box.widest] - low[box.widest]) box.widest = c;
    return box;
}

std::vector<Seen> medianCut(std::vector<Weighted>& points) {
    std::vector<Box> boxes{measured(points, 0, points.size())};
    while (boxes.size() < paletteSize) {
        auto worst = std::max_element(boxes.begin(), boxes.end(),
                                      [](const Box& a, const Box& b) { return a.error < b.error; });
        if (worst->error <= 0 || worst->end - worst->begin < 2) break;
        const Box box = *worst;
        const int c = box.widest;
        std::sort(points.begin() + box.begin, points.begin() + box.end,
                  [c](const Weighted& a, const Weighted& b) { return a.colour[c] < b.colour[c]; });
        float total = 0;
        for (size_t i = box.begin; i < box.end; ++i)
            total += points[i].weight;
        size_t split = box.begin + 1;
        for (float sum = points[box.begin].weight; split < box.end - 1 && sum < total / 2; ++split)
            sum += points[split].weight;
        *worst = measured(points, box.begin, split);
        boxes.push_back(measured(points, split, box.end));
    }
    std::vector<Seen> palette;
    for (const Box& box : boxes)
        palette.push_back(meanOf(points, box.begin, box.end));
    return palette;
}

size_t nearest(const std::vector<Seen>& palette, const Seen& colour) {
    size_t best = 0;
    float bestDistance = std::numeric_limits<float>::max();
    for (size_t i = 0; i < palette.size(); ++i) {
        const float d = distance(palette[i], colour);
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return best;
}

void refine(std::vector<Seen>& palette, const std::vector<Weighted>& points, int rounds) {
    for (int round = 0; round < rounds; ++round) {
        std::vector<Seen> sums(palette.size(), Seen{});
        std::vector<float> weights(palette.size(), 0);
        for (const auto& point : points) {
            const size_t i = nearest(palette, point.colour);
            for (int c = 0; c < 4; ++c)
                sums[i][c] += point.colour[c] * point.weight;
            weights[i] += point.weight;
        }
        for (size_t i = 0; i < palette.size(); ++i)
            if (weights[i] > 0)
                for (int c = 0; c < 4; ++c)
                    palette[i][c] = sums[i][c] / weights[i];
    }
}

} // namespace

bool exactPalette(const std::vector<uint8_t>& rgba, PalettePicture& out) {
    std::unordered_map<uint32_t, uint8_t> entries;
    out.colours.assign(paletteSize * 4, 0);
    out.indices.resize(rgba.size() / 4);
    for (size_t i = 0; i < out.indices.size(); ++i) {
        const uint32_t colour = packed(&rgba[i * 4]);
        auto found = entries.find(colour);
        if (found == entries.end()) {
            if (entries.size() == paletteSize) return false;
            const auto index = static_cast<uint8_t>(entries.size());
            std::memcpy(&out.colours[index * 4], &rgba[i * 4], 4);
            found = entries.emplace(colour, index).first;
        }
        out.indices[i] = found->second;
    }
    return true;
}

PalettePicture reducedPalette(const std::vector<uint8_t>& rgba, int width, bool dither) {
    const size_t count = rgba.size() / 4;
    std::unordered_map<uint32_t, float> histogram;
    for (size_t i = 0; i < count; ++i)
        histogram[packed(&rgba[i * 4])] += 1;
    std::vector<Weighted> points;
    points.reserve(histogram.size());
    for (const auto& [colour, weight] : histogram) {
        uint8_t bytes[4];
        std::memcpy(bytes, &colour, 4);
        points.push_back({seen(bytes), weight});
    }
    std::vector<Seen> palette = medianCut(points);
    refine(palette, points, 4);

    PalettePicture out;
    out.colours.assign(paletteSize * 4, 0);
    for (size_t i = 0; i < palette.size(); ++i) {
        store(palette[i], &out.colours[i * 4]);
        palette[i] = seen(&out.colours[i * 4]); // the colour as the file will hold it
    }
    out.indices.resize(count);
    if (!dither) {
        std::unordered_map<uint32_t, uint8_t> chosen;
        for (size_t i = 0; i < count; ++i) {
            const uint32_t colour = packed(&rgba[i * 4]);
            auto found = chosen.find(colour);
            if (found == chosen.end())
                found =
                    chosen
                        .emplace(colour, static_cast<uint8_t>(nearest(palette, seen(&rgba[i * 4]))))
                        .first;
            out.indices[i] = found->second;
        }
        return out;
    }
    // Floyd-Steinberg: 7/16 right, 3/16 below left, 5/16 below, 1/16 below right.
    const size_t w = static_cast<size_t>(width);
    std::vector<Seen> errorRow(w + 2, Seen{}), errorNext(w + 2, Seen{});
    for (size_t y = 0; y < count / w; ++y) {
        for (size_t x = 0; x < w; ++x) {
            const size_t i = y * w + x;
            Seen wanted = seen(&rgba[i * 4]);
            for (int c = 0; c < 4; ++c)
                wanted[c] = std::clamp(wanted[c] + errorRow[x + 1][c], 0.0f, 255.0f);
            const size_t index = nearest(palette, wanted);
            out.indices[i] = static_cast<uint8_t>(index);
            for (int c = 0; c < 4; ++c) {
                const float error = wanted[c] - palette[index][c];
                errorRow[x + 2][c] += error * 7 / 16;
                errorNext[x][c] += error * 3 / 16;
                errorNext[x + 1][c] += error * 5 / 16;
                errorNext[x + 2][c] += error * 1 / 16;
            }
        }
        std::swap(errorRow, errorNext);
        std::fill(errorNext.begin(), errorNext.end(), Seen{});
    }
    return out;
}

} // namespace texdict
