// texture_art: draws the project's own default art for every texture the plug-in looks up and
// writes the game's four texture dictionaries:
//
//   texture_art OUT_DIR FONT_DIR
//
// writes OUT_DIR/tarvel_moravik/{tarvel_iii,ring_iii,radio_iii,phone_iii}.txd. The HUD's
// frames, bars and sights are plain geometry, drawn white or grey where the game tints them;
// the weapons and the radio stations are pictures of their own (pictures.h).
//
// Sizes: each texture is about as large as the HUD draws it on a 1920 x 1080 screen, the size
// the art is made to look right at, rounded to the nearest power of two. There a layout unit is
// 1080 / 480 = 2.25 pixels across and 1080 / 448 = 2.41 down, and the wheels follow the shipped
// layout:
//   radio icons     2 x 130 units: 585 x 627 pixels             -> 512 x 512
//   weapon wheel    half the screen's height / 1.95 each way: 554 across;
//                   segments, ring and selector each cover it    -> 512 x 512
//   sniper scope    a quarter is 210 units: 473 x 506            -> 512 x 512
//   radar panel     274 x 209                                    -> 256 x 256
//   pager           120 x 60 units: 270 x 145                    -> 256 x 128
//   phone           256 wide, twice as high                      -> 256 x 512
//   rocket sight    80 units: 180 x 193; crosshair 64: 144 x 154 -> 256 x 256, 128 x 128
//   bars            about 130 x 10                               -> 128 x 16
//   wanted star     33                                           -> 32 x 32
//   timer bar       about 100 x 20 units: 225 x 48               -> 256 x 64
//   radar mask      looked up but never drawn                    -> 64 x 64
// A larger screen magnifies them, smoothly: the game filters them linearly. Every texture is
// stored with an 8-bit palette, a quarter of 32-bit pixels: most of the art has few colours
// besides its anti-aliased edges, and the logos' gradients keep their look dithered.
#include "texdict/texdict.h"
#include "tools/preview/render/renderer.h"
#include "tools/texture_art/pictures.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

using preview::Image;
using preview::Rgba8;

namespace {

constexpr float pi = 3.14159265f;
// The side of the wheels' textures: the radio icons, the weapon segments, ring and selector.
constexpr int wheelSide = 512;

// A shape: the colour at a point of the unit square (u right, v down), transparent outside.
using Shape = std::function<Rgba8(float u, float v)>;

// Each pixel averages n x n samples (4 x 4 for small textures), so edges come out smooth.
Image paint(int width, int height, const Shape& shape) {
    Image image(width, height);
    const int n = width * height > 128 * 128 ? 2 : 4;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            float r = 0, g = 0, b = 0, a = 0;
            for (int j = 0; j < n; ++j) {
                for (int i = 0; i < n; ++i) {
                    const Rgba8 c =
                        shape((x + (i + 0.5f) / n) / width, (y + (j + 0.5f) / n) / height);
                    const float ca = c.a / 255.0f;
                    r += c.r * ca;
                    g += c.g * ca;
                    b += c.b * ca;
                    a += ca;
                }
            }
            if (a <= 0) continue;
            image.set(x, y,
                      {uint8_t(r / a + 0.5f), uint8_t(g / a + 0.5f), uint8_t(b / a + 0.5f),
                       uint8_t(a / (n * n) * 255.0f + 0.5f)});
        }
    }
    return image;
}

const Rgba8 none{0, 0, 0, 0};

Rgba8 grey(int level, int alpha = 255) {
    return {uint8_t(level), uint8_t(level), uint8_t(level), uint8_t(alpha)};
}

// Distance from a point to a rounded rectangle's edge: negative inside.
float roundedBox(float u, float v, float left, float top, float right, float bottom, float radius) {
    const float cx = (left + right) * 0.5f, cy = (top + bottom) * 0.5f;
    const float hx = (right - left) * 0.5f - radius, hy = (bottom - top) * 0.5f - radius;
    const float dx = std::max(std::abs(u - cx) - hx, 0.0f);
    const float dy = std::max(std::abs(v - cy) - hy, 0.0f);
    const float inside = std::min(std::max(std::abs(u - cx) - hx, std::abs(v - cy) - hy), 0.0f);
    return std::sqrt(dx * dx + dy * dy) + inside - radius;
}

// Clockwise angle from twelve o'clock, 0..2 pi, of a point seen from the centre.
float clockAngle(float u, float v) {
    const float a = std::atan2(u - 0.5f, 0.5f - v);
    return a < 0 ? a + 2 * pi : a;
}

float radius(float u, float v) {
    return 2.0f * std::hypot(u - 0.5f, v - 0.5f);
}

float angleBetween(float a, float b) {
    const float d = std::fmod(std::abs(a - b), 2 * pi);
    return std::min(d, 2 * pi - d);
}

bool insideStar(float u, float v) {
    // Ten corners, alternating outer and inner, the first at the top.
    float px[10], py[10];
    for (int i = 0; i < 10; ++i) {
        const float r = i % 2 ? 0.2f : 0.48f;
        const float a = i * pi / 5;
        px[i] = 0.5f + r * std::sin(a);
        py[i] = 0.53f - r * std::cos(a);
    }
    bool inside = false;
    for (int i = 0, j = 9; i < 10; j = i++)
        if ((py[i] > v) != (py[j] > v) &&
            u < (px[j] - px[i]) * (v - py[i]) / (py[j] - py[i]) + px[i])
            inside = !inside;
    return inside;
}

Rgba8 star(float u, float v) {
    if (!insideStar(u, v)) return none;
    // A light rim inside the edge gives the star some body under any tint.
    const bool rim = !insideStar(0.5f + (u - 0.5f) * 1.12f, 0.53f + (v - 0.53f) * 1.12f);
    return rim ? grey(200) : grey(255);
}

// White, so that the bar shows its colour exactly; a dark line along both long edges.
Rgba8 bar(float, float v) {
    return v < 0.08f || v > 0.92f ? grey(40) : grey(255);
}

// The panel behind the radar and its bars.
Rgba8 radarFrame(float u, float v) {
    const float d = roundedBox(u, v, 0.01f, 0.01f, 0.99f, 0.99f, 0.06f);
    if (d > 0) return none;
    if (d > -0.006f) return grey(20, 230);
    if (d > -0.02f) return grey(235, 240);
    if (d > -0.026f) return grey(20, 200);
    return grey(0, 90);
}

Rgba8 radarMask(float u, float v) {
    return radius(u, v) <= 1.0f ? grey(255) : none;
}

Rgba8 timerBar(float u, float v) {
    const float d = roundedBox(u, v, 0.01f, 0.05f, 0.99f, 0.95f, 0.2f);
    if (d > 0) return none;
    return d > -0.03f ? grey(160, 255) : grey(255, 255);
}

// The rocket sight: a ring and a dot, the game tints and adds it as a glow.
Rgba8 rocketSight(float u, float v) {
    const float r = radius(u, v);
    if (r < 0.12f) return grey(255);
    if (std::abs(r - 0.7f) < 0.06f) return grey(255);
    if (std::abs(r - 0.7f) < 0.16f)
        return grey(255, int(255 * (1 - (std::abs(r - 0.7f) - 0.06f) / 0.1f)));
    return none;
}

Rgba8 pager(float u, float v) {
    const float body = roundedBox(u, v, 0.02f, 0.04f, 0.98f, 0.96f, 0.12f);
    if (body > 0) return none;
    const float screen = roundedBox(u, v, 0.16f, 0.24f, 0.92f, 0.78f, 0.04f);
    if (screen < 0) return screen > -0.012f ? Rgba8{40, 52, 36, 255} : Rgba8{150, 176, 118, 255};
    if (body > -0.015f) return grey(20);
    // A button at the left end.
    if (std::hypot((u - 0.085f) * 2.0f, v - 0.5f) < 0.09f) return grey(150);
    return Rgba8{58, 62, 70, 255};
}

// One quarter of the sniper scope; the scope's centre is the image's bottom-right corner.
Rgba8 sniperQuarter(float u, float v) {
    const float r = std::hypot(1.0f - u, 1.0f - v);
    if (r > 0.97f) return grey(0);
    if (r > 0.95f) return grey(30);
    const bool lineX = v > 0.994f && u > 0.08f;
    const bool lineY = u > 0.994f && v > 0.08f;
    if (lineX || lineY) return grey(0);
    // Range marks along both lines.
    for (float t = 0.2f; t < 0.9f; t += 0.2f) {
        if (std::abs(u - t) < 0.006f && v > 0.975f) return grey(0);
        if (std::abs(v - t) < 0.006f && u > 0.975f) return grey(0);
    }
    return none;
}

Rgba8 crosshair(float u, float v) {
    const float x = std::abs(u - 0.5f), y = std::abs(v - 0.5f);
    auto arm = [](float along, float across, float w) {
        return along > 0.14f && along < 0.46f && across < w;
    };
    if (arm(x, y, 0.035f) || arm(y, x, 0.035f)) return grey(255);
    if (arm(x, y, 0.07f) || arm(y, x, 0.07f)) return grey(0, 200);
    if (x * x + y * y < 0.035f * 0.035f) return grey(255);
    return none;
}

// The wheel: slot i sits (i - 3) thirty-degree steps clockwise from twelve o'clock, so that
// the selector, drawn upright for slot 3, points at it when turned; slots 0 and 12 share a place.
float slotAngle(int slot) {
    return std::fmod((slot - 3 + 12) * pi / 6, 2 * pi);
}

constexpr float ringInner = 0.68f, ringOuter = 0.97f;

Rgba8 ring(float u, float v) {
    const float r = radius(u, v);
    if (r > ringOuter || r < ringInner) return none;
    if (r > ringOuter - 0.015f || r < ringInner + 0.015f) return grey(255, 255);
    // Thin spokes between the slots.
    const float a = clockAngle(u, v) + pi / 12;
    if (angleBetween(a, std::round(a / (pi / 6)) * (pi / 6)) * r < 0.008f) return grey(255, 200);
    return grey(120, 170);
}

Rgba8 selector(float u, float v) {
    const float r = radius(u, v);
    if (r > ringOuter || r < ringInner) return none;
    const float off = angleBetween(clockAngle(u, v), 0.0f);
    if (off > pi / 12) return none;
    const bool edge = off > pi / 12 - 0.02f || r > ringOuter - 0.02f || r < ringInner + 0.02f;
    return edge ? grey(255) : grey(255, 150);
}

// The phone, 1 wide and 2 high; the classic one is rounder and brighter.
Image phone(bool classic) {
    return paint(256, 512, [classic](float u, float v) {
        const float body = roundedBox(u, v, 0.06f, 0.02f, 0.94f, 0.98f, classic ? 0.3f : 0.12f);
        if (body > 0) return none;
        if (body > -0.02f) return grey(15);
        const float screen = roundedBox(u, v, 0.16f, 0.1f, 0.84f, 0.42f, 0.04f);
        if (screen < 0) return classic ? Rgba8{150, 176, 118, 255} : Rgba8{120, 170, 210, 255};
        // Keys: three columns, four rows.
        for (int row = 0; row < 4; ++row)
            for (int col = 0; col < 3; ++col)
                if (roundedBox(u, v, 0.18f + col * 0.23f, 0.5f + row * 0.1f, 0.36f + col * 0.23f,
                               0.57f + row * 0.1f, 0.02f) < 0)
                    return grey(classic ? 200 : 90);
        return classic ? Rgba8{60, 60, 64, 255} : Rgba8{36, 38, 44, 255};
    });
}

// The weapon wheel's segment for a slot: a light band with the weapon in it.
Image segment(int slot, int size) {
    const float half = size / 2.0f;
    const float centre = slotAngle(slot);
    art::Canvas canvas(size, size);
    canvas.fill(art::arcBand(half, half, (ringInner + 0.03f) * half, (ringOuter - 0.03f) * half,
                             centre - pi / 12 + 0.03f, centre + pi / 12 - 0.03f),
                grey(255, 110));
    // The weapon fills most of the band's depth and of the segment's width at its middle.
    const float middle = (ringInner + ringOuter) / 2 * half;
    art::drawWeapon(
        canvas, slot, {half + middle * std::sin(centre), half - middle * std::cos(centre)}, centre,
        (ringOuter - ringInner - 0.06f) * half * 0.92f, middle * (pi / 6 - 0.06f) * 0.92f);
    return canvas.image();
}

// Art that came out empty or a single colour is a fault of this program.
bool flat(const texdict::Texture& t) {
    for (size_t i = 4; i < t.rgba.size(); i += 4)
        if (!std::equal(t.rgba.begin() + i, t.rgba.begin() + i + 4, t.rgba.begin())) return false;
    return true;
}

struct DictionaryFile {
    const char* file;
    texdict::Dictionary contents;
};

void add(DictionaryFile& dictionary, const std::string& name, const Image& image) {
    dictionary.contents.textures.push_back({name, image.width, image.height, image.pixels, ""});
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: texture_art OUT_DIR FONT_DIR\n");
        return 1;
    }
    preview::Fonts fonts;
    if (!fonts.load(std::string(argv[2]) + "/")) {
        std::fprintf(stderr, "texture_art: the fonts are missing in %s\n", argv[2]);
        return 1;
    }
    const preview::TextPainter text(fonts);
    const art::Lettering lettering(text);

    DictionaryFile main{"tarvel_iii.txd", {}}, rings{"ring_iii.txd", {}},
        radio{"radio_iii.txd", {}}, phones{"phone_iii.txd", {}};
    add(main, "blrect", paint(256, 256, radarFrame));
    add(main, "radarmask", paint(64, 64, radarMask));
    add(main, "bar", paint(128, 16, bar));
    add(main, "star", paint(32, 32, star));
    add(main, "timerbar", paint(256, 64, timerBar));
    add(main, "siterocket", paint(256, 256, rocketSight));
    add(main, "pager", paint(256, 128, pager));
    add(main, "sitesniper", paint(512, 512, sniperQuarter));
    add(main, "siteM16", paint(128, 128, crosshair));
    for (int slot = 0; slot <= 12; ++slot)
        add(rings, std::to_string(slot), segment(slot, wheelSide));
    add(rings, "sring", paint(wheelSide, wheelSide, ring));
    add(rings, "shl", paint(wheelSide, wheelSide, selector));
    for (int station = 0; station <= 11; ++station)
        add(radio, std::to_string(station), art::stationLogo(station, wheelSide, lettering));
    add(phones, "phone", phone(false));
    add(phones, "phone_class", phone(true));

    const std::filesystem::path folder = std::filesystem::path(argv[1]) / "tarvel_moravik";
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    for (const DictionaryFile* d : {&main, &rings, &radio, &phones}) {
        for (const auto& texture : d->contents.textures) {
            if (flat(texture)) {
                std::fprintf(stderr, "texture_art: %s came out a single colour\n",
                             texture.name.c_str());
                return 1;
            }
        }
        std::string error;
        if (!texdict::writeFile((folder / d->file).string(), d->contents, error,
                                texdict::PixelFormat::palette8)) {
            std::fprintf(stderr, "texture_art: %s\n", error.c_str());
            return 1;
        }
    }
    return 0;
}
