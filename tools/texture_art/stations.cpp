// The logos of the town's radio stations, in the order of the game's station numbers: each a
// round badge in colours of its own with a sign and the station's name.
#include "tools/texture_art/pictures.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace art {

void Lettering::print(Canvas& canvas, const char* words, float x, float y, float height,
                      float maxWidth, Rgba8 colour, int font, float widthPerHeight) const {
    preview::TextState state;
    state.font = font;
    state.align = preview::Align::Centre;
    state.colour = colour;
    state.scaleY = height / preview::lineHeightAtScale1;
    state.scaleX = state.scaleY * widthPerHeight;
    const std::string text(words);
    const std::u16string wide(text.begin(), text.end());
    const float width = text_.width(state, wide);
    if (width > maxWidth) state.scaleX *= maxWidth / width;
    preview::Image layer(canvas.width(), canvas.height());
    text_.print(layer, state, x, y, wide);
    canvas.overlay(layer);
}

namespace {

constexpr float pi = 3.14159265f;

Rgba8 rgb(int r, int g, int b, int a = 255) {
    return {uint8_t(r), uint8_t(g), uint8_t(b), uint8_t(a)};
}

// Five-pointed star of outer radius r.
Path starShape(float cx, float cy, float r) {
    std::vector<Vec> corners;
    for (int i = 0; i < 10; ++i) {
        const float radius = i % 2 ? r * 0.42f : r;
        const float a = i * pi / 5;
        corners.push_back({cx + radius * std::sin(a), cy - radius * std::cos(a)});
    }
    return polygon(corners);
}

// Points along a wave from x0 to x1 about the line y.
std::vector<Vec> wave(float x0, float x1, float y, float amplitude, float waves) {
    std::vector<Vec> points;
    for (int i = 0; i <= 64; ++i) {
        const float t = i / 64.0f;
        points.push_back({x0 + (x1 - x0) * t, y + amplitude * std::sin(t * waves * 2 * pi)});
    }
    return points;
}

// The badge's face below the line y.
Path faceBelow(float y) {
    std::vector<Vec> points;
    for (int i = 0; i < 256; ++i) {
        const float a = 2 * pi * i / 256;
        const Vec p{500 + 456 * std::sin(a), 500 - 456 * std::cos(a)};
        if (p.y >= y) points.push_back(p);
    }
    return polygon(points);
}

// Everything in units of a 1000-pixel logo, scaled to the texture on drawing. The radio wheel
// draws its icons 2 x 130 layout units each way, and a layout unit is 1/480 of the screen's
// height across but 1/448 of it down: 7 % taller than wide on every screen. So the logo is drawn
// 448/480 as high as wide about the texture's centre, and its badge shows round.
class Logo {
  public:
    Logo(int size, const Lettering& lettering)
        : canvas_(size, size), lettering_(lettering), k_(size / 1000.0f) {}

    // What is filled next is the emblem, drawn from top to bottom in its own units: it is
    // fitted into the badge's upper part, above the band kept clear for the wheel's caption.
    void emblem(float top, float bottom) {
        scale_ = (emblemBottom - emblemTop) / (bottom - top);
        shift_ = {500 * (1 - scale_), emblemTop - top * scale_};
    }
    // What is filled next is drawn in the badge's own units.
    void plate() {
        scale_ = 1;
        shift_ = {0, 0};
    }
    // A paint in the badge's units (its own face's, say) stays where it is on the badge.
    void fill(const Path& path, const Paint& paint, bool paintOfTheBadge = false) {
        const float scale = paintOfTheBadge ? 1 : scale_;
        const Vec shift = paintOfTheBadge ? Vec{0, 0} : shift_;
        Paint placed = paint;
        placed.start =
            onTexture({shift.x + paint.start.x * scale, shift.y + paint.start.y * scale});
        placed.end = onTexture({shift.x + paint.end.x * scale, shift.y + paint.end.y * scale});
        Path moved = path;
        for (auto& outline : moved.outlines)
            for (Vec& p : outline)
                p = onTexture({shift_.x + p.x * scale_, shift_.y + p.y * scale_});
        canvas_.fill(moved, placed);
    }
    // The wheel prints the station's name from the icon's centre down over about a tenth of
    // its height, before it draws the icon: that band of the texture stays clear, edged like
    // the rim.
    void clearCaptionBand() {
        const float rim = 480;
        auto half = [rim](float y) {
            const float across = (y - 500) / (rim * squash);
            return rim * std::sqrt(std::max(0.0f, 1 - across * across));
        };
        auto edge = [&](float top, float bottom) {
            return polygon({{500 - half(top), top},
                            {500 + half(top), top},
                            {500 + half(bottom), bottom},
                            {500 - half(bottom), bottom}});
        };
        canvas_.erase(transformed(rect(0, bandTop, 1000, bandBottom), k_, {0, 0}));
        canvas_.fill(transformed(edge(bandTop - 10, bandTop), k_, {0, 0}), rgb(16, 16, 20));
        canvas_.fill(transformed(edge(bandBottom, bandBottom + 10), k_, {0, 0}), rgb(16, 16, 20));
    }
    void text(const char* words, float y, float height, Rgba8 colour, float maxWidth = 700) {
        lettering_.print(canvas_, words, 500 * k_, onTexture({500, y}).y, height * squash * k_,
                         maxWidth * k_, colour, 2, 1 / squash);
    }
    // The badge: a dark rim, the face in the given paint, a thin light ring inside the rim.
    Paint badge(Rgba8 top, Rgba8 bottom) {
        const Paint face(top, bottom, {500, 40}, {500, 960});
        fill(circle(500, 500, 480), rgb(16, 16, 20));
        fill(circle(500, 500, 456), face);
        fill(ring(500, 500, 436, 444), rgb(255, 255, 255, 90));
        return face;
    }
    preview::Image image() const { return canvas_.image(); }

  private:
    static constexpr float emblemTop = 120, emblemBottom = 462, bandTop = 490, bandBottom = 610;
    static constexpr float squash = 448.0f / 480.0f;
    // A point in the logo's units on the texture, in pixels.
    Vec onTexture(Vec p) const { return {p.x * k_, (500 + (p.y - 500) * squash) * k_}; }
    Canvas canvas_;
    const Lettering& lettering_;
    float k_;
    float scale_ = 1;
    Vec shift_;
};

void harbourSound(Logo& logo) {
    logo.badge(rgb(24, 58, 112), rgb(18, 126, 140));
    logo.emblem(126, 578);
    const Rgba8 white = rgb(244, 244, 236);
    Path anchor = ring(500, 178, 30, 52);
    anchor.add(roundedRect(484, 226, 516, 560, 8));
    anchor.add(roundedRect(390, 262, 610, 292, 14));
    anchor.add(arcBand(500, 400, 146, 178, 0.58f * pi, 1.42f * pi));
    anchor.add(polygon({{318, 470}, {352, 420}, {372, 486}}));
    anchor.add(polygon({{682, 470}, {648, 420}, {628, 486}}));
    logo.fill(anchor, white);
    logo.plate();
    logo.text("HARBOUR", 626, 104, white);
    logo.text("SOUND", 738, 84, rgb(150, 220, 230), 420);
    logo.fill(stroke(wave(380, 620, 850, 10, 2), 12), rgb(150, 220, 230));
}

void tinLanternFm(Logo& logo) {
    logo.badge(rgb(46, 36, 28), rgb(22, 18, 14));
    logo.emblem(86, 560);
    const Rgba8 tin = rgb(186, 190, 196);
    logo.fill(circle(500, 380, 190),
              Paint(rgb(255, 190, 80, 70), rgb(255, 190, 80, 0), {500, 380}, {500, 570}));
    logo.fill(ring(500, 130, 28, 44), tin);
    logo.fill(polygon({{400, 206}, {600, 206}, {560, 160}, {440, 160}}), tin);
    logo.fill(roundedRect(414, 206, 586, 520, 16),
              Paint(rgb(255, 214, 110), rgb(255, 132, 30), {500, 206}, {500, 520}));
    logo.fill(polygon({{500, 300}, {530, 380}, {500, 440}, {470, 380}}), rgb(255, 250, 220));
    for (float x : {414.0f, 486.0f, 556.0f})
        logo.fill(rect(x, 206, x + 30, 520), tin);
    logo.fill(roundedRect(384, 512, 616, 560, 10), tin);
    logo.plate();
    logo.text("TIN LANTERN", 626, 100, rgb(255, 206, 120));
    logo.text("FM", 730, 130, tin);
}

void railYardRadio(Logo& logo) {
    logo.badge(rgb(150, 70, 36), rgb(70, 32, 20));
    logo.emblem(164, 590);
    const Rgba8 steel = rgb(230, 226, 216);
    // Sleepers closer together towards the horizon, then the two rails.
    for (int i = 0; i < 7; ++i) {
        const float t = std::pow(i / 6.0f, 1.6f);
        const float y = 560 - 360 * (1 - t);
        const float half = 60 + 200 * t;
        logo.fill(rect(500 - half, y, 500 + half, y + 6 + 18 * t), rgb(92, 52, 30));
    }
    logo.fill(polygon({{486, 200}, {496, 200}, {330, 590}, {290, 590}}), steel);
    logo.fill(polygon({{504, 200}, {514, 200}, {710, 590}, {670, 590}}), steel);
    logo.fill(circle(500, 190, 26), rgb(255, 210, 90));
    logo.plate();
    logo.text("RAIL YARD", 626, 110, steel);
    logo.text("RADIO", 742, 90, rgb(255, 210, 90), 400);
}

void kStatic(Logo& logo) {
    logo.badge(rgb(70, 24, 110), rgb(12, 10, 20));
    logo.emblem(170, 560);
    const Rgba8 white = rgb(244, 244, 250);
    Path k = rect(330, 170, 410, 560);
    k.add(polygon({{400, 380}, {590, 170}, {690, 170}, {470, 400}}));
    k.add(polygon({{440, 350}, {500, 320}, {690, 560}, {590, 560}}));
    logo.fill(k, white);
    std::vector<Vec> zigzag;
    for (int i = 0; i <= 16; ++i)
        zigzag.push_back(
            {180 + i * 40.0f, 390 + (i % 2 ? -60.0f : 60.0f) * (i % 4 == 1 ? 1.4f : 0.8f)});
    logo.fill(stroke(zigzag, 18), rgb(60, 230, 240));
    logo.plate();
    logo.text("K-STATIC", 640, 150, white);
}

void neonAvenue(Logo& logo) {
    logo.badge(rgb(26, 14, 52), rgb(8, 6, 20));
    logo.emblem(220, 566);
    const Rgba8 pink = rgb(255, 70, 190), cyan = rgb(70, 240, 255);
    const float heights[7] = {220, 300, 180, 340, 250, 200, 280};
    Path skyline;
    for (int i = 0; i < 7; ++i)
        skyline.add(rect(220 + i * 80.0f, 560 - heights[i], 292 + i * 80.0f, 560));
    logo.fill(skyline, rgb(46, 26, 90));
    logo.fill(outlineOf(skyline, 30), rgb(70, 240, 255, 50));
    for (int i = 0; i < 7; ++i)
        logo.fill(outlineOf(rect(220 + i * 80.0f, 560 - heights[i], 292 + i * 80.0f, 560), 8),
                  cyan);
    logo.fill(rect(200, 556, 800, 566), cyan);
    logo.plate();
    logo.text("NEON", 620, 130, pink);
    logo.text("AVENUE", 746, 96, cyan, 520);
}

void lullaby98(Logo& logo) {
    const Paint sky = logo.badge(rgb(20, 30, 84), rgb(70, 44, 118));
    logo.emblem(160, 590);
    logo.fill(circle(430, 330, 170), rgb(255, 236, 160));
    logo.fill(circle(500, 280, 160), sky, true); // the moon's shadow, in the sky's colours
    for (const Vec star : {Vec{620, 200}, Vec{700, 330}, Vec{560, 420}, Vec{300, 560}})
        logo.fill(starShape(star.x, star.y, 30), rgb(255, 244, 200));
    logo.plate();
    logo.text("LULLABY", 626, 110, rgb(230, 226, 255));
    logo.text("98", 736, 130, rgb(255, 236, 160));
}

void parleyTalk88(Logo& logo) {
    logo.badge(rgb(214, 84, 44), rgb(140, 36, 28));
    logo.emblem(170, 550);
    Path left = roundedRect(210, 170, 560, 420, 60);
    left.add(polygon({{280, 400}, {360, 410}, {250, 490}}));
    logo.fill(left, rgb(250, 246, 236));
    Path right = roundedRect(460, 260, 790, 480, 60);
    right.add(polygon({{700, 460}, {640, 470}, {740, 550}}));
    logo.fill(outlineOf(right, 20), rgb(140, 36, 28));
    logo.fill(right, rgb(255, 214, 110));
    for (int i = 0; i < 3; ++i)
        logo.fill(circle(560 + i * 60.0f, 370, 18), rgb(140, 36, 28));
    logo.plate();
    logo.text("PARLEY TALK", 626, 100, rgb(250, 246, 236));
    logo.text("88", 730, 130, rgb(255, 214, 110));
}

void drift101(Logo& logo) {
    const Paint sky = logo.badge(rgb(255, 160, 60), rgb(120, 40, 120));
    logo.emblem(250, 560);
    logo.fill(circle(500, 440, 190),
              Paint(rgb(255, 236, 120), rgb(255, 120, 80), {500, 250}, {500, 440}));
    for (int i = 0; i < 4; ++i) // stripes across the sun, in the sky's colours
        logo.fill(rect(300, 330 + i * 34.0f, 700, 338 + i * 34.0f + i * 4), sky, true);
    // The sea from the sun's middle down, where the emblem puts the sun's y 440.
    logo.plate();
    logo.fill(faceBelow(330), Paint(rgb(96, 44, 116), rgb(40, 20, 70), {500, 330}, {500, 960}));
    logo.emblem(250, 560);
    for (int i = 0; i < 3; ++i)
        logo.fill(stroke(wave(200, 800, 470 + i * 36.0f, 10, 3), 12), rgb(255, 220, 200, 200));
    logo.plate();
    logo.text("DRIFT", 620, 130, rgb(255, 244, 230));
    logo.text("101", 746, 100, rgb(255, 226, 120));
}

void brassDistrict(Logo& logo) {
    logo.badge(rgb(36, 46, 36), rgb(14, 18, 14));
    logo.emblem(220, 540);
    const Paint brass(rgb(255, 222, 120), rgb(170, 116, 36), {500, 200}, {500, 520});
    Path trumpet =
        polygon({{600, 330}, {760, 220}, {780, 300}, {780, 460}, {760, 540}, {600, 430}});
    trumpet.add(rect(230, 360, 610, 400));
    trumpet.add(stroke({{330, 400}, {330, 470}, {560, 470}, {560, 400}}, 30));
    for (float x : {380.0f, 440.0f, 500.0f})
        trumpet.add(roundedRect(x - 16, 290, x + 16, 470, 8));
    trumpet.add(roundedRect(200, 350, 240, 410, 10));
    logo.fill(outlineOf(trumpet, 14), rgb(60, 40, 14));
    logo.fill(trumpet, brass);
    logo.plate();
    logo.text("BRASS", 620, 120, rgb(255, 222, 120));
    logo.text("DISTRICT", 740, 96, rgb(230, 226, 210), 540);
}

void underpass(Logo& logo) {
    logo.badge(rgb(124, 124, 130), rgb(66, 66, 72));
    logo.emblem(170, 560);
    Path arch = roundedRect(250, 170, 750, 700, 250);
    logo.fill(arch, rgb(30, 30, 36));
    logo.fill(polygon({{470, 330}, {530, 330}, {700, 560}, {300, 560}}), rgb(58, 58, 64));
    for (int i = 0; i < 4; ++i) {
        const float y = 350 + i * 50.0f;
        logo.fill(rect(494 - i * 2.0f, y, 506 + i * 2.0f, y + 20 + i * 6.0f), rgb(250, 210, 80));
    }
    for (int i = 0; i < 7; ++i) {
        const float a = -1.2f + i * 0.4f;
        logo.fill(circle(500 + 200 * std::sin(a), 420 - 200 * std::cos(a), 12), rgb(255, 244, 200));
    }
    logo.plate();
    logo.fill(faceBelow(462), Paint(rgb(92, 92, 98), rgb(50, 50, 56), {500, 462}, {500, 960}));
    logo.text("UNDERPASS", 650, 130, rgb(170, 240, 70));
}

void oldHarbourJazz(Logo& logo) {
    logo.badge(rgb(22, 78, 66), rgb(8, 36, 32));
    logo.emblem(160, 572);
    const Rgba8 gold = rgb(240, 200, 100);
    Path notes = transformed(ellipse(0, 0, 46, 32), 1, {390, 470}, -0.4f);
    notes.add(transformed(ellipse(0, 0, 46, 32), 1, {590, 430}, -0.4f));
    notes.add(rect(418, 200, 440, 460));
    notes.add(rect(618, 160, 640, 420));
    notes.add(polygon({{418, 200}, {640, 160}, {640, 220}, {418, 260}}));
    logo.fill(notes, gold);
    for (int i = 0; i < 2; ++i)
        logo.fill(stroke(wave(240, 760, 560 + i * 40.0f, 12, 4), 12), rgb(120, 200, 180));
    logo.plate();
    logo.text("OLD HARBOUR", 626, 100, rgb(230, 240, 226));
    logo.text("JAZZ", 734, 120, gold);
}

void radioOff(Logo& logo) {
    logo.badge(rgb(96, 96, 102), rgb(46, 46, 52));
    logo.emblem(150, 590);
    const Rgba8 light = rgb(228, 228, 232);
    logo.fill(arcBand(500, 400, 150, 190, 0.2f * pi, 1.8f * pi), light);
    logo.fill(capsule({500, 170}, {500, 380}, 40), light);
    logo.plate();
    logo.text("RADIO OFF", 650, 120, light);
}

} // namespace

preview::Image stationLogo(int station, int size, const Lettering& lettering) {
    Logo logo(size, lettering);
    void (*const logos[])(Logo&) = {harbourSound,  tinLanternFm, railYardRadio,  kStatic,
                                    neonAvenue,    lullaby98,    parleyTalk88,   drift101,
                                    brassDistrict, underpass,    oldHarbourJazz, radioOff};
    logos[std::clamp(station, 0, 11)](logo);
    logo.clearCaptionBand();
    return logo.image();
}

} // namespace art
