// The thirteen weapons as white silhouettes with a dark rim and a few dark lines inside, each
// drawn pointing right in units of its own and fitted into its wheel segment.
#include "tools/texture_art/pictures.h"

#include <algorithm>
#include <cmath>

namespace art {
namespace {

const Rgba8 silhouette{246, 246, 240, 255};
const Rgba8 rim{22, 22, 26, 255};
const Rgba8 flame{255, 146, 40, 255};
const Rgba8 alarm{228, 44, 40, 255};

struct Weapon {
    Path body;
    Path lines;  // dark lines drawn over the body
    Path accent; // drawn in the accent colour, over everything
    Rgba8 accentColour = flame;
};

Path triggerGuard(float x, float y, float width, float depth) {
    return stroke({{x, y}, {x + 2, y + depth}, {x + width - 4, y + depth}, {x + width, y}}, 4);
}

Weapon fist() {
    Weapon w;
    const float tops[4] = {16, 8, 10, 20};
    for (int i = 0; i < 4; ++i)
        w.body.add(roundedRect(10 + i * 21.0f, tops[i], 33 + i * 21.0f, 62, 10));
    w.body.add(roundedRect(8, 32, 96, 94, 16));
    w.body.add(rect(24, 86, 84, 112));
    const Path thumb = roundedRect(4, 56, 66, 78, 11);
    w.body.add(thumb);
    for (int i = 1; i < 4; ++i)
        w.lines.add(capsule({10 + i * 21.0f, 22}, {10 + i * 21.0f, 52}, 3));
    w.lines.add(outlineOf(thumb, 3));
    w.lines.add(capsule({28, 96}, {80, 96}, 3));
    return w;
}

Weapon bat() {
    Weapon w;
    Path bat = polygon({{6, -4.5f},
                        {80, -4.5f},
                        {140, -12},
                        {192, -13},
                        {192, 13},
                        {140, 12},
                        {80, 4.5f},
                        {6, 4.5f}});
    bat.add(circle(192, 0, 13));
    bat.add(ellipse(4, 0, 5, 9));
    w.body = transformed(bat, 1, {0, 0}, -0.5f);
    w.lines = transformed(capsule({20, 0}, {70, 0}, 2.5f), 1, {0, 0}, -0.5f);
    return w;
}

Weapon pistol() {
    Weapon w;
    w.body.add(roundedRect(20, 10, 140, 34, 4));
    w.body.add(rect(132, 5, 137, 10));
    w.body.add(polygon({{24, 34}, {118, 34}, {118, 44}, {24, 44}}));
    w.body.add(polygon({{24, 36}, {64, 36}, {58, 96}, {16, 92}}));
    w.body.add(triggerGuard(64, 44, 28, 16));
    w.lines.add(capsule({24, 34}, {136, 34}, 2.5f));
    for (int i = 0; i < 4; ++i)
        w.lines.add(capsule({30 + i * 6.0f, 14}, {30 + i * 6.0f, 28}, 2));
    w.lines.add(capsule({74, 46}, {72, 55}, 3));
    return w;
}

Weapon smg() {
    Weapon w;
    w.body.add(roundedRect(30, 20, 130, 46, 5));
    w.body.add(rect(130, 28, 164, 37));
    w.body.add(rect(40, 13, 52, 20));
    w.body.add(rect(114, 13, 121, 20));
    w.body.add(polygon({{80, 46}, {96, 46}, {99, 106}, {83, 106}}));
    w.body.add(polygon({{44, 46}, {62, 46}, {58, 88}, {38, 86}}));
    w.body.add(stroke({{32, 24}, {4, 24}, {4, 44}, {32, 40}}, 5));
    w.body.add(triggerGuard(62, 46, 18, 14));
    w.lines.add(capsule({84, 60}, {95, 60}, 2.5f));
    w.lines.add(capsule({60, 33}, {110, 33}, 2.5f));
    return w;
}

Weapon shotgun() {
    Weapon w;
    w.body.add(polygon({{0, 16}, {58, 20}, {58, 40}, {44, 40}, {0, 54}}));
    w.body.add(roundedRect(56, 18, 102, 40, 3));
    w.body.add(rect(100, 19, 218, 27));
    w.body.add(rect(100, 29, 190, 36));
    w.body.add(roundedRect(128, 26, 170, 41, 4));
    w.body.add(triggerGuard(66, 40, 22, 10));
    for (int i = 0; i < 5; ++i)
        w.lines.add(capsule({134 + i * 7.0f, 30}, {134 + i * 7.0f, 38}, 2));
    w.lines.add(capsule({8, 20}, {8, 50}, 2.5f));
    return w;
}

Weapon assaultRifle() {
    Weapon w;
    w.body.add(polygon({{0, 28}, {46, 30}, {46, 52}, {6, 66}, {0, 66}}));
    w.body.add(roundedRect(44, 26, 132, 50, 4));
    w.body.add(roundedRect(130, 28, 178, 46, 4));
    w.body.add(rect(176, 33, 214, 39));
    w.body.add(rect(206, 30, 216, 42));
    w.body.add(polygon({{100, 50}, {118, 50}, {126, 78}, {134, 96}, {116, 102}, {106, 82}}));
    w.body.add(polygon({{66, 50}, {82, 50}, {78, 84}, {62, 82}}));
    Path handle = polygon({{60, 27}, {64, 13}, {110, 13}, {113, 27}});
    handle.add(reversed(roundedRect(70, 17, 104, 23, 2)));
    w.body.add(handle);
    w.body.add(rect(168, 17, 172, 28));
    w.body.add(triggerGuard(82, 50, 18, 12));
    for (int i = 0; i < 4; ++i)
        w.lines.add(capsule({138 + i * 10.0f, 33}, {144 + i * 10.0f, 33}, 2.5f));
    w.lines.add(capsule({108, 60}, {118, 58}, 2.5f));
    return w;
}

Weapon rifle() {
    Weapon w;
    w.body.add(polygon({{0, 12},
                        {30, 15},
                        {70, 21},
                        {96, 21},
                        {100, 30},
                        {88, 34},
                        {70, 34},
                        {52, 30},
                        {8, 46},
                        {0, 46}}));
    w.body.add(polygon({{96, 21}, {172, 21}, {172, 29}, {100, 30}}));
    w.body.add(rect(96, 16, 228, 22));
    w.body.add(rect(80, 14, 122, 23));
    w.body.add(rect(221, 12, 225, 16));
    w.body.add(capsule({104, 20}, {110, 32}, 4));
    w.body.add(circle(110, 33, 4.5f));
    w.body.add(triggerGuard(76, 33, 18, 9));
    w.lines.add(capsule({96, 22}, {170, 22}, 2));
    w.lines.add(capsule({6, 14}, {6, 44}, 2.5f));
    return w;
}

Weapon sniperRifle() {
    Weapon w;
    w.body.add(polygon({{0, 26},
                        {40, 28},
                        {56, 23},
                        {84, 29},
                        {100, 29},
                        {100, 40},
                        {88, 44},
                        {70, 44},
                        {50, 40},
                        {8, 56},
                        {0, 56}}));
    w.body.add(rect(84, 26, 130, 36));
    w.body.add(rect(128, 29, 238, 34));
    w.body.add(rect(226, 27, 238, 36));
    w.body.add(roundedRect(92, 8, 156, 20, 6));
    w.body.add(polygon({{150, 9}, {172, 4}, {172, 24}, {150, 19}}));
    w.body.add(polygon({{98, 9}, {80, 6}, {80, 22}, {98, 19}}));
    w.body.add(rect(106, 19, 112, 27));
    w.body.add(rect(136, 19, 142, 27));
    w.body.add(rect(104, 36, 116, 48));
    w.body.add(capsule({190, 34}, {206, 62}, 4));
    w.body.add(capsule({194, 34}, {180, 62}, 4));
    w.body.add(triggerGuard(84, 44, 18, 9));
    w.lines.add(capsule({168, 6}, {168, 22}, 2.5f));
    w.lines.add(capsule({84, 8}, {84, 20}, 2.5f));
    return w;
}

Weapon rocketLauncher() {
    Weapon w;
    w.body.add(roundedRect(20, 20, 200, 44, 6));
    w.body.add(polygon({{0, 13}, {26, 21}, {26, 43}, {0, 51}}));
    w.body.add(polygon({{196, 18}, {212, 18}, {230, 32}, {212, 46}, {196, 46}}));
    w.body.add(polygon({{80, 44}, {96, 44}, {92, 72}, {76, 70}}));
    w.body.add(polygon({{130, 44}, {144, 44}, {142, 64}, {128, 64}}));
    w.body.add(polygon({{60, 20}, {64, 8}, {78, 8}, {80, 20}}));
    w.body.add(triggerGuard(96, 44, 18, 10));
    w.lines.add(capsule({198, 20}, {198, 44}, 2.5f));
    w.lines.add(capsule({30, 22}, {30, 42}, 2.5f));
    w.lines.add(capsule({110, 32}, {180, 32}, 2.5f));
    return w;
}

Weapon flamethrower() {
    Weapon w;
    w.body.add(roundedRect(30, 22, 150, 40, 6));
    w.body.add(rect(150, 26, 182, 36));
    w.body.add(rect(178, 21, 188, 41));
    w.body.add(roundedRect(70, 44, 150, 70, 12));
    w.body.add(rect(90, 38, 100, 46));
    w.body.add(rect(130, 38, 140, 46));
    w.body.add(polygon({{40, 38}, {56, 38}, {52, 74}, {36, 72}}));
    w.body.add(stroke({{30, 30}, {12, 36}, {8, 58}, {20, 70}, {70, 62}}, 5));
    w.lines.add(capsule({80, 57}, {140, 57}, 2.5f));
    w.accent = polygon({{190, 31},
                        {200, 20},
                        {212, 18},
                        {206, 26},
                        {222, 22},
                        {234, 30},
                        {224, 33},
                        {236, 40},
                        {214, 46},
                        {200, 42}});
    return w;
}

Weapon firebomb() {
    Weapon w;
    w.body.add(roundedRect(14, 60, 66, 138, 12));
    w.body.add(polygon({{14, 72}, {30, 44}, {50, 44}, {66, 72}}));
    w.body.add(rect(31, 22, 49, 48));
    w.body.add(polygon({{30, 26}, {25, 8}, {36, 15}, {42, 2}, {48, 16}, {56, 10}, {50, 28}}));
    w.lines.add(capsule({20, 92}, {60, 92}, 3));
    w.lines.add(capsule({31, 28}, {49, 28}, 3));
    w.accent = polygon({{40, -40},
                        {50, -22},
                        {56, -6},
                        {48, 4},
                        {40, 0},
                        {32, 4},
                        {24, -6},
                        {30, -20},
                        {36, -14}});
    return w;
}

Weapon grenade() {
    Weapon w;
    constexpr float cx = 42, cy = 76, rx = 34, ry = 42;
    w.body.add(ellipse(cx, cy, rx, ry));
    w.body.add(rect(30, 24, 54, 38));
    w.body.add(polygon({{50, 25}, {72, 30}, {76, 62}, {68, 64}, {64, 35}, {50, 32}}));
    w.body.add(ring(20, 28, 6, 12));
    // The grip's grooves, inside the body only.
    for (float y : {60.0f, 78.0f, 96.0f}) {
        const float half = rx * std::sqrt(1 - (y - cy) * (y - cy) / (ry * ry)) - 6;
        w.lines.add(capsule({cx - half, y}, {cx + half, y}, 3));
    }
    for (float x : {30.0f, 54.0f}) {
        const float half = ry * std::sqrt(1 - (x - cx) * (x - cx) / (rx * rx)) - 6;
        w.lines.add(capsule({x, cy - half}, {x, cy + half}, 3));
    }
    return w;
}

Weapon detonator() {
    Weapon w;
    w.body.add(roundedRect(10, 40, 70, 138, 10));
    w.body.add(capsule({56, 42}, {62, 4}, 6));
    w.body.add(circle(62, 3, 5));
    w.lines.add(outlineOf(roundedRect(20, 100, 60, 128, 4), 3));
    w.lines.add(capsule({40, 100}, {40, 128}, 3));
    w.lines.add(capsule({20, 114}, {60, 114}, 3));
    w.accent = circle(40, 70, 15);
    w.accentColour = alarm;
    return w;
}

Weapon weapon(int slot) {
    switch (slot) {
    case 0:
        return fist();
    case 1:
        return bat();
    case 2:
        return pistol();
    case 3:
        return smg();
    case 4:
        return shotgun();
    case 5:
        return assaultRifle();
    case 6:
        return rifle();
    case 7:
        return sniperRifle();
    case 8:
        return rocketLauncher();
    case 9:
        return flamethrower();
    case 10:
        return firebomb();
    case 11:
        return grenade();
    default:
        return detonator();
    }
}

} // namespace

void drawWeapon(Canvas& canvas, int slot, Vec centre, float angle, float along, float across) {
    const Weapon w = weapon(slot);
    Path all = w.body;
    all.add(w.accent);
    Vec low, high;
    bounds(all, low, high);
    // An upright box w x h measures w |sin| + h |cos| along the direction, w |cos| + h |sin|
    // across it.
    const float width = high.x - low.x, height = high.y - low.y;
    const float s = std::abs(std::sin(angle)), c = std::abs(std::cos(angle));
    // A silhouette fills its box only in part: a fifth more still stays inside. No weapon grows
    // beyond 1.6 times as wide or 1.05 times as high as the box is long, so that they all look
    // about the same size.
    const float scale =
        std::min({1.2f * along / (width * s + height * c), 1.2f * across / (width * c + height * s),
                  1.6f * along / width, 1.05f * along / height});
    const Vec shift{centre.x - scale * (low.x + high.x) / 2,
                    centre.y - scale * (low.y + high.y) / 2};
    auto place = [&](const Path& path) { return transformed(path, scale, shift); };
    const float rimWidth = 4.5f;
    const Path body = place(w.body), accent = place(w.accent);
    canvas.fill(outlineOf(body, rimWidth), rim);
    canvas.fill(outlineOf(accent, rimWidth), rim);
    canvas.fill(body, silhouette);
    canvas.fill(place(w.lines), rim);
    canvas.fill(accent, w.accentColour);
}

} // namespace art
