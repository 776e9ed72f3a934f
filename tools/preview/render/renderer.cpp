#include "tools/preview/render/renderer.h"

#include "tools/preview/files/whole_files.h"

#include "stb_truetype.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace preview {

Image::Image(int w, int h, Rgba8 fill) : width(std::max(w, 0)), height(std::max(h, 0)) {
    pixels.resize(size_t(width) * size_t(height) * 4);
    for (size_t i = 0; i < pixels.size(); i += 4) {
        pixels[i] = fill.r;
        pixels[i + 1] = fill.g;
        pixels[i + 2] = fill.b;
        pixels[i + 3] = fill.a;
    }
}

Rgba8 Image::at(int x, int y) const {
    if (!contains(x, y)) return {};
    const uint8_t* p = &pixels[(size_t(y) * size_t(width) + size_t(x)) * 4];
    return {p[0], p[1], p[2], p[3]};
}

void Image::set(int x, int y, Rgba8 colour) {
    if (!contains(x, y)) return;
    uint8_t* p = &pixels[(size_t(y) * size_t(width) + size_t(x)) * 4];
    p[0] = colour.r;
    p[1] = colour.g;
    p[2] = colour.b;
    p[3] = colour.a;
}

namespace {

uint8_t toByte(float v) {
    return static_cast<uint8_t>(std::clamp(v, 0.0f, 255.0f) + 0.5f);
}

// Colour channels with the alpha of src, as floats 0..255 and 0..1.
struct Source {
    float r, g, b, a;
};

void blendSource(Image& canvas, int x, int y, Source s) {
    if (!canvas.contains(x, y) || s.a <= 0.0f) return;
    uint8_t* p = &canvas.pixels[(size_t(y) * size_t(canvas.width) + size_t(x)) * 4];
    const float da = p[3] / 255.0f;
    const float outA = s.a + da * (1.0f - s.a);
    if (outA <= 0.0f) return;
    const float keep = da * (1.0f - s.a);
    p[0] = toByte((s.r * s.a + p[0] * keep) / outA);
    p[1] = toByte((s.g * s.a + p[1] * keep) / outA);
    p[2] = toByte((s.b * s.a + p[2] * keep) / outA);
    p[3] = toByte(outA * 255.0f);
}

Source tinted(Source texel, Rgba8 tint) {
    return {texel.r * tint.r / 255.0f, texel.g * tint.g / 255.0f, texel.b * tint.b / 255.0f,
            texel.a * tint.a / 255.0f};
}

// Bilinear filtering with the edges clamped; u and v run 0..1 over the whole image.
Source sample(const Image& image, float u, float v) {
    const float fx = u * image.width - 0.5f;
    const float fy = v * image.height - 0.5f;
    const int x0 = static_cast<int>(std::floor(fx));
    const int y0 = static_cast<int>(std::floor(fy));
    const float tx = fx - x0;
    const float ty = fy - y0;
    Source out{0, 0, 0, 0};
    for (int j = 0; j < 2; ++j) {
        for (int i = 0; i < 2; ++i) {
            const int x = std::clamp(x0 + i, 0, image.width - 1);
            const int y = std::clamp(y0 + j, 0, image.height - 1);
            const float w = (i ? tx : 1.0f - tx) * (j ? ty : 1.0f - ty);
            const Rgba8 c = image.at(x, y);
            // Premultiplied, so transparent texels do not darken the edges.
            const float a = c.a / 255.0f * w;
            out.r += c.r * a;
            out.g += c.g * a;
            out.b += c.b * a;
            out.a += a;
        }
    }
    if (out.a > 0.0f) {
        out.r /= out.a;
        out.g /= out.a;
        out.b /= out.a;
    }
    return out;
}

// The pixels whose centres lie in [lo, hi).
void pixelSpan(float a, float b, int limit, int& first, int& end) {
    const float lo = std::min(a, b);
    const float hi = std::max(a, b);
    if (!std::isfinite(lo) || !std::isfinite(hi)) {
        first = end = 0;
        return;
    }
    first = static_cast<int>(std::clamp(std::ceil(lo - 0.5f), 0.0f, float(limit)));
    end = static_cast<int>(std::clamp(std::ceil(hi - 0.5f), 0.0f, float(limit)));
}

double cross(double ax, double ay, double bx, double by) {
    return ax * by - ay * bx;
}

bool finiteQuad(const Quad& q) {
    return std::all_of(q.begin(), q.end(),
                       [](Point p) { return std::isfinite(p.x) && std::isfinite(p.y); });
}

template <class Shade> void coverQuad(Image& canvas, const Quad& corners, Shade shade) {
    if (!finiteQuad(corners)) return;
    float minX = corners[0].x, maxX = minX, minY = corners[0].y, maxY = minY;
    for (const Point& p : corners) {
        minX = std::min(minX, p.x);
        maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
    }
    int x0, x1, y0, y1;
    pixelSpan(minX, maxX, canvas.width, x0, x1);
    pixelSpan(minY, maxY, canvas.height, y0, y1);
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            float u, v;
            if (quadCoordinates(corners, {x + 0.5f, y + 0.5f}, u, v)) shade(x, y, u, v);
        }
    }
}

} // namespace

void blend(Image& canvas, int x, int y, Rgba8 c) {
    blendSource(canvas, x, y, {float(c.r), float(c.g), float(c.b), c.a / 255.0f});
}

void fillRect(Image& canvas, float x0, float y0, float x1, float y1, Rgba8 colour) {
    int first, end, top, bottom;
    pixelSpan(x0, x1, canvas.width, first, end);
    pixelSpan(y0, y1, canvas.height, top, bottom);
    for (int y = top; y < bottom; ++y)
        for (int x = first; x < end; ++x)
            blend(canvas, x, y, colour);
}

void strokeRect(Image& canvas, float x0, float y0, float x1, float y1, float t, Rgba8 colour) {
    const float l = std::min(x0, x1), r = std::max(x0, x1);
    const float top = std::min(y0, y1), bottom = std::max(y0, y1);
    fillRect(canvas, l, top, r, top + t, colour);
    fillRect(canvas, l, bottom - t, r, bottom, colour);
    fillRect(canvas, l, top + t, l + t, bottom - t, colour);
    fillRect(canvas, r - t, top + t, r, bottom - t, colour);
}

void drawImage(Image& canvas, const Image& source, float left, float bottom, float right, float top,
               Rgba8 tint) {
    if (source.empty() || left == right || top == bottom) return;
    int x0, x1, y0, y1;
    pixelSpan(left, right, canvas.width, x0, x1);
    pixelSpan(top, bottom, canvas.height, y0, y1);
    for (int y = y0; y < y1; ++y) {
        const float v = (y + 0.5f - top) / (bottom - top);
        for (int x = x0; x < x1; ++x) {
            const float u = (x + 0.5f - left) / (right - left);
            blendSource(canvas, x, y, tinted(sample(source, u, v), tint));
        }
    }
}

bool quadCoordinates(const Quad& q, Point p, float& u, float& v) {
    // Bilinear: P(u, v) = a + u e + v f + u v g, with a the image's top-left corner.
    const Point a = q[2], b = q[3], c = q[1], d = q[0];
    const double ex = b.x - a.x, ey = b.y - a.y;
    const double fx = d.x - a.x, fy = d.y - a.y;
    const double gx = a.x - b.x + c.x - d.x, gy = a.y - b.y + c.y - d.y;
    const double hx = p.x - a.x, hy = p.y - a.y;
    const double k2 = cross(gx, gy, fx, fy);
    const double k1 = cross(ex, ey, fx, fy) + cross(hx, hy, gx, gy);
    const double k0 = cross(hx, hy, ex, ey);
    const double area = std::abs(cross(ex, ey, fx, fy)) +
                        std::abs(cross(c.x - b.x, c.y - b.y, c.x - d.x, c.y - d.y));
    if (area < 1e-9) return false; // no pixel lies in a quad without area

    auto solveU = [&](double vv) {
        const double dx = ex + gx * vv, dy = ey + gy * vv;
        return std::abs(dx) > std::abs(dy) ? (hx - fx * vv) / dx : (hy - fy * vv) / dy;
    };
    auto inside = [](double t) { return t >= 0.0 && t < 1.0; };
    double vs[2];
    int count = 0;
    if (std::abs(k2) < 1e-9 * std::max(1.0, std::abs(k1))) {
        if (k1 == 0.0) return false;
        vs[count++] = -k0 / k1;
    } else {
        const double disc = k1 * k1 - 4.0 * k0 * k2;
        if (disc < 0.0) return false;
        const double w = std::sqrt(disc);
        vs[count++] = (-k1 - w) / (2.0 * k2);
        vs[count++] = (-k1 + w) / (2.0 * k2);
    }
    for (int i = 0; i < count; ++i) {
        const double uu = solveU(vs[i]);
        if (inside(uu) && inside(vs[i])) {
            u = static_cast<float>(uu);
            v = static_cast<float>(vs[i]);
            return true;
        }
    }
    return false;
}

bool showsAt(const Image& source, const Quad& corners, Point p) {
    float u = 0, v = 0;
    return !source.empty() && quadCoordinates(corners, p, u, v) && sample(source, u, v).a > 0.0f;
}

void drawImageQuad(Image& canvas, const Image& source, const Quad& corners, Rgba8 tint) {
    if (source.empty()) return;
    coverQuad(canvas, corners, [&](int x, int y, float u, float v) {
        blendSource(canvas, x, y, tinted(sample(source, u, v), tint));
    });
}

void addImageQuad(Image& canvas, const Image& source, const Quad& corners, Rgba8 tint) {
    if (source.empty()) return;
    coverQuad(canvas, corners, [&](int x, int y, float u, float v) {
        const Source s = tinted(sample(source, u, v), tint);
        const Rgba8 was = canvas.at(x, y);
        canvas.set(x, y,
                   {toByte(was.r + s.r * s.a), toByte(was.g + s.g * s.a), toByte(was.b + s.b * s.a),
                    was.a});
    });
}

void fillQuad(Image& canvas, const Quad& corners, Rgba8 colour) {
    coverQuad(canvas, corners, [&](int x, int y, float, float) { blend(canvas, x, y, colour); });
}

float unitX(const Image& canvas, float v) {
    const float w = float(canvas.width);
    const float h = float(canvas.height);
    return w * v / 640.0f * 1.3333334f / (w / h);
}

float unitY(const Image& canvas, float v) {
    return float(canvas.height) * v / 448.0f;
}

// Text.

bool Typeface::load(const std::string& path) {
    std::string bytes;
    if (!readWholeFile(path, bytes)) return false;
    data_.assign(bytes.begin(), bytes.end());
    auto info = std::make_shared<stbtt_fontinfo>();
    if (data_.empty() || !stbtt_InitFont(info.get(), data_.data(), 0)) return false;
    info_ = info;
    return true;
}

const char* faceFile(int font) {
    switch (font) {
    case 1:
        return "DejaVuSansMono.ttf";
    case 2:
        return "DejaVuSansCondensed-Bold.ttf";
    default:
        return "DejaVuSans.ttf";
    }
}

const Typeface& Fonts::face(int font) const {
    return font >= 0 && font < 3 && faces[font].loaded() ? faces[font] : faces[0];
}

bool Fonts::load(const std::string& folder) {
    bool all = true;
    for (int font = 0; font < 3; ++font)
        all = faces[font].load(folder + faceFile(font)) && all;
    return all;
}

namespace {

// The game's fonts are drawn about twice as wide as their scale says; at this ratio of the
// x scale to the y scale a face keeps its own proportions.
constexpr float naturalWidthRatio = 0.5f;

struct FaceScale {
    const stbtt_fontinfo* info = nullptr;
    float sx = 0, sy = 0; // font units to pixels
    float ascent = 0;     // pixels
    float lineHeight = 0; // pixels
    bool usable() const { return info && sx > 0 && sy > 0; }
};

FaceScale faceScale(const Fonts& fonts, const TextState& state) {
    FaceScale f;
    f.info = fonts.face(state.font).info();
    const float height = lineHeightAtScale1 * state.scaleY;
    const float ratio = state.scaleX / state.scaleY;
    if (!f.info || !std::isfinite(height) || !std::isfinite(ratio) || height <= 0 || ratio <= 0)
        return {};
    f.lineHeight = height;
    f.sy = stbtt_ScaleForPixelHeight(f.info, height);
    f.sx = f.sy * ratio / naturalWidthRatio;
    int ascent, descent, gap;
    stbtt_GetFontVMetrics(f.info, &ascent, &descent, &gap);
    f.ascent = ascent * f.sy;
    return f;
}

float advanceOf(const FaceScale& f, char16_t c, char16_t next) {
    int advance, bearing;
    stbtt_GetCodepointHMetrics(f.info, c, &advance, &bearing);
    float px = advance * f.sx;
    if (next) px += stbtt_GetCodepointKernAdvance(f.info, c, next) * f.sx;
    return px;
}

float lineWidth(const FaceScale& f, std::u16string_view text) {
    float w = 0;
    for (size_t i = 0; i < text.size(); ++i)
        w += advanceOf(f, text[i], i + 1 < text.size() ? text[i + 1] : 0);
    return w;
}

// How wide a line may be before it wraps, or 0 for no limit.
float lineLimit(const TextState& state, float x) {
    float limit = 0;
    switch (state.align) {
    case Align::Left:
        limit = state.wrapX - x;
        break;
    case Align::Centre:
        limit = state.centreWidth;
        break;
    case Align::Right:
        limit = x - state.rightWrapX;
        break;
    }
    return std::isfinite(limit) && limit > 0 ? limit : 0;
}

// Words go on a line while they fit; a word wider than the limit gets a line of its own.
std::vector<std::u16string> breakLines(const FaceScale& f, std::u16string_view text, float limit) {
    std::vector<std::u16string> lines(1);
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(u' ', start);
        if (end == std::u16string_view::npos) end = text.size();
        const std::u16string_view word = text.substr(start, end - start);
        std::u16string& line = lines.back();
        std::u16string candidate =
            line.empty() ? std::u16string(word) : line + u' ' + std::u16string(word);
        if (limit > 0 && !line.empty() && lineWidth(f, candidate) > limit)
            lines.emplace_back(word);
        else
            line = std::move(candidate);
        start = end + 1;
    }
    return lines;
}

Rgba8 faded(Rgba8 c, float alpha) {
    const float a = std::isfinite(alpha) ? std::clamp(alpha, 0.0f, 255.0f) : 255.0f;
    return {c.r, c.g, c.b, static_cast<uint8_t>(c.a * a / 255.0f + 0.5f)};
}

} // namespace

TextLayout TextPainter::layout(const TextState& state, float x, std::u16string_view text) const {
    TextLayout out;
    const FaceScale f = faceScale(fonts_, state);
    if (!f.usable()) return out;
    out.lineHeight = f.lineHeight;
    for (auto& line : breakLines(f, text, lineLimit(state, x))) {
        TextLine placed;
        placed.width = lineWidth(f, line);
        placed.left = state.align == Align::Left     ? x
                      : state.align == Align::Centre ? x - placed.width * 0.5f
                                                     : x - placed.width;
        placed.text = std::move(line);
        out.lines.push_back(std::move(placed));
    }
    return out;
}

std::u16string TextPainter::undrawable(const TextState& state, std::u16string_view text) const {
    std::u16string missing;
    const stbtt_fontinfo* info = fonts_.face(state.font).info();
    if (!info) return missing;
    for (size_t i = 0; i < text.size(); ++i) {
        // A character beyond 16 bits, as its two halves.
        const bool pair = text[i] >= 0xD800 && text[i] < 0xDC00 && i + 1 < text.size() &&
                          text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000;
        const std::u16string_view character = text.substr(i, pair ? 2 : 1);
        const int code =
            pair ? 0x10000 + ((text[i] - 0xD800) << 10) + (text[i + 1] - 0xDC00) : text[i];
        i += pair ? 1 : 0;
        if (code <= u' ' || stbtt_FindGlyphIndex(info, code) != 0 ||
            missing.find(character) != std::u16string::npos)
            continue;
        missing += character;
    }
    return missing;
}

float TextPainter::width(const TextState& state, std::u16string_view text) const {
    const FaceScale f = faceScale(fonts_, state);
    return f.usable() ? lineWidth(f, text) : 0.0f;
}

namespace {

// Each glyph of a line with its ink box relative to (penX, baseY), in pixels.
// Beyond this a pen position no longer fits the pixel grid's integers: nothing there is drawn.
constexpr float farthestPen = 1e9f;

// An absurd scale from a configuration file must not ask for gigabytes: such a glyph is not drawn.
bool drawableGlyph(int x0, int y0, int x1, int y1) {
    const int w = x1 - x0, h = y1 - y0;
    return w > 0 && h > 0 && double(w) * h <= 4096.0 * 4096.0;
}

template <typename Glyph>
void forEachGlyph(const FaceScale& f, float left, float top, std::u16string_view text,
                  Glyph glyph) {
    const float baseline = top + f.ascent;
    if (!(std::abs(left) < farthestPen) || !(std::abs(baseline) < farthestPen)) return;
    const int baseY = static_cast<int>(std::floor(baseline));
    const float shiftY = baseline - baseY;
    float pen = left;
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (!(std::abs(pen) < farthestPen)) return;
        const int penX = static_cast<int>(std::floor(pen));
        const float shiftX = pen - penX;
        int x0, y0, x1, y1;
        stbtt_GetCodepointBitmapBoxSubpixel(f.info, c, f.sx, f.sy, shiftX, shiftY, &x0, &y0, &x1,
                                            &y1);
        glyph(c, penX, baseY, shiftX, shiftY, x0, y0, x1, y1);
        pen += advanceOf(f, c, i + 1 < text.size() ? text[i + 1] : 0);
    }
}

} // namespace

void TextPainter::drawLine(Image& canvas, const TextState& state, float left, float top,
                           std::u16string_view text, Rgba8 colour) const {
    const FaceScale f = faceScale(fonts_, state);
    if (!f.usable() || colour.a == 0) return;
    std::vector<unsigned char> coverage;
    forEachGlyph(f, left, top, text,
                 [&](char16_t c, int penX, int baseY, float shiftX, float shiftY, int x0, int y0,
                     int x1, int y1) {
                     const int w = x1 - x0, h = y1 - y0;
                     const bool visible = penX + x1 > 0 && penX + x0 < canvas.width &&
                                          baseY + y1 > 0 && baseY + y0 < canvas.height;
                     if (!visible || !drawableGlyph(x0, y0, x1, y1)) return;
                     coverage.assign(size_t(w) * size_t(h), 0);
                     stbtt_MakeCodepointBitmapSubpixel(f.info, coverage.data(), w, h, w, f.sx, f.sy,
                                                       shiftX, shiftY, c);
                     for (int y = 0; y < h; ++y) {
                         for (int x = 0; x < w; ++x) {
                             const unsigned char cover = coverage[size_t(y) * w + x];
                             if (!cover) continue;
                             blendSource(canvas, penX + x0 + x, baseY + y0 + y,
                                         {float(colour.r), float(colour.g), float(colour.b),
                                          colour.a / 255.0f * cover / 255.0f});
                         }
                     }
                 });
}

bool TextPainter::inkBox(const TextState& state, float x, float y, std::u16string_view text,
                         Box& box) const {
    const TextLayout lines = layout(state, x, text);
    const FaceScale f = faceScale(fonts_, state);
    bool inked = false;
    for (size_t i = 0; i < lines.lines.size(); ++i) {
        forEachGlyph(
            f, lines.lines[i].left, y + lines.lineHeight * i, lines.lines[i].text,
            [&](char16_t, int penX, int baseY, float, float, int x0, int y0, int x1, int y1) {
                if (!drawableGlyph(x0, y0, x1, y1)) return; // a space, or too large to draw
                const Box glyph{float(penX + x0), float(baseY + y0), float(penX + x1),
                                float(baseY + y1)};
                box = inked ? Box{std::min(box.left, glyph.left), std::min(box.top, glyph.top),
                                  std::max(box.right, glyph.right),
                                  std::max(box.bottom, glyph.bottom)}
                            : glyph;
                inked = true;
            });
    }
    return inked;
}

void TextPainter::print(Image& canvas, const TextState& state, float x, float y,
                        std::u16string_view text) const {
    const TextLayout lines = layout(state, x, text);
    if (lines.lines.empty()) return;
    const float h = lines.lineHeight;
    if (state.background) {
        const float pad = h * 0.15f;
        for (size_t i = 0; i < lines.lines.size(); ++i) {
            const TextLine& line = lines.lines[i];
            float l = line.left - pad, r = line.left + line.width + pad;
            if (!state.backgroundHugsText && state.align == Align::Left && state.wrapX > x)
                r = state.wrapX + pad;
            if (!state.backgroundHugsText && state.align == Align::Centre &&
                state.centreWidth > 0) {
                l = x - state.centreWidth * 0.5f - pad;
                r = x + state.centreWidth * 0.5f + pad;
            }
            fillRect(canvas, l, y + h * i, r, y + h * (i + 1), state.backgroundColour);
        }
    }
    if (state.shadowOffset != 0) {
        const float dx = unitX(canvas, float(state.shadowOffset));
        const float dy = unitY(canvas, float(state.shadowOffset));
        for (size_t i = 0; i < lines.lines.size(); ++i)
            drawLine(canvas, state, lines.lines[i].left + dx, y + h * i + dy, lines.lines[i].text,
                     faded(state.shadowColour, state.alpha));
    }
    for (size_t i = 0; i < lines.lines.size(); ++i)
        drawLine(canvas, state, lines.lines[i].left, y + h * i, lines.lines[i].text,
                 faded(state.colour, state.alpha));
}

void drawMissingTexture(Image& canvas, const TextPainter& text, const Quad& q,
                        const std::string& label, std::vector<TextPainter::Box>* labels) {
    const Rgba8 ink{255, 0, 255, 220};
    float minX = q[0].x, maxX = minX, minY = q[0].y, maxY = minY;
    for (const Point& p : q) {
        if (!std::isfinite(p.x) || !std::isfinite(p.y)) return;
        minX = std::min(minX, p.x);
        maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
    }
    strokeRect(canvas, minX, minY, maxX, maxY, 1.0f, ink);
    TextState state;
    state.scaleX = state.scaleY = std::max(canvas.height / 1080.0f, 0.5f) * 0.7f;
    state.colour = ink;
    const std::u16string units(label.begin(), label.end());
    // Inside the screen, and below the labels already there rather than over them.
    const float w = text.width(state, units) + 2, h = lineHeightAtScale1 * state.scaleY;
    const float x = std::clamp(minX + 2, 0.0f, std::max(float(canvas.width) - w, 0.0f));
    float y = std::clamp(minY + 2, 0.0f, std::max(float(canvas.height) - h, 0.0f));
    const auto meets = [&](const TextPainter::Box& b) {
        return x < b.right && b.left < x + w && y < b.bottom && b.top < y + h;
    };
    if (labels) {
        for (auto over = std::find_if(labels->begin(), labels->end(), meets); over != labels->end();
             over = std::find_if(labels->begin(), labels->end(), meets))
            y = over->bottom;
        if (y + h > float(canvas.height)) return; // no room left: the outline says enough
        labels->push_back({x, y, x + w, y + h});
    }
    text.print(canvas, state, x, y, units);
}

} // namespace preview
