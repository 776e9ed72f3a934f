#include "tools/preview/render/replay.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace preview {

namespace {

Rgba8 colourOf(const sim::HostCall& call) {
    return {call.colour.r, call.colour.g, call.colour.b, call.colour.a};
}

float number(const sim::HostCall& call, size_t i) {
    return i < call.numbers.size() ? static_cast<float>(call.numbers[i]) : 0.0f;
}

// The game's rectangle (left, bottom, right, top) as the corners of a quad.
Quad rectangleCorners(float left, float bottom, float right, float top) {
    return {Point{left, bottom}, Point{right, bottom}, Point{left, top}, Point{right, top}};
}

// The cells of the box the image shows in, drawn onto the quad: a see-through corner is none.
void noteCover(DrawnBox& box, const Image& image, const Quad& corners) {
    constexpr int mostCells = 48;
    const int columns = std::clamp(static_cast<int>(std::ceil(box.right - box.left)), 1, mostCells);
    const int rows = std::clamp(static_cast<int>(std::ceil(box.bottom - box.top)), 1, mostCells);
    box.coverColumns = columns;
    box.cover.resize(size_t(columns * rows));
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < columns; ++column) {
            const Point centre{
                box.left + (box.right - box.left) * (float(column) + 0.5f) / float(columns),
                box.top + (box.bottom - box.top) * (float(row) + 0.5f) / float(rows)};
            box.cover[size_t(row * columns + column)] = showsAt(image, corners, centre);
        }
}

} // namespace

FrameReplay::FrameReplay(const Fonts& fonts, TextureLookup textures, OtherCall other)
    : painter_(fonts), textures_(std::move(textures)), other_(std::move(other)) {}

void FrameReplay::play(const std::vector<sim::HostCall>& calls, Image* canvas,
                       std::vector<DrawnBox>* boxes) {
    missingLabels_.clear();
    for (const auto& call : calls) {
        if (boxes) noteBox(call, *boxes);
        apply(call, canvas);
    }
}

// The text state and the render state's raster, whether or not the frame is drawn.
bool FrameReplay::follow(const sim::HostCall& call) {
    const std::string& r = call.routine;
    if (r == "setTextScale") {
        text_.scaleX = number(call, 0);
        text_.scaleY = number(call, 1);
    } else if (r == "setTextColour") {
        text_.colour = colourOf(call);
    } else if (r == "setTextBackgroundColour") {
        text_.backgroundColour = colourOf(call);
    } else if (r == "setDropShadowColour") {
        text_.shadowColour = colourOf(call);
    } else if (r == "setFont") {
        text_.font = static_cast<int>(number(call, 0));
    } else if (r == "setDropShadowOffset") {
        text_.shadowOffset = static_cast<int>(number(call, 0));
    } else if (r == "setRightJustifyOn") {
        text_.align = Align::Right;
    } else if (r == "setCentreOn") {
        text_.align = Align::Centre;
    } else if (r == "textSwitch501C80") { // justification off: plain left alignment
        text_.align = Align::Left;
    } else if (r == "textSwitch501CB0") { // centring off
        if (text_.align == Align::Centre) text_.align = Align::Left;
    } else if (r == "textSwitch501D70") { // right justification off
        if (text_.align == Align::Right) text_.align = Align::Left;
    } else if (r == "setCentreWidth") {
        text_.centreWidth = number(call, 0);
    } else if (r == "setWrapWidth") {
        text_.wrapX = number(call, 0);
    } else if (r == "setRightJustifyWidth") {
        text_.rightWrapX = number(call, 0);
    } else if (r == "setTextAlpha") {
        text_.alpha = number(call, 0);
    } else if (r == "textSwitch501CE0") {
        text_.background = true;
    } else if (r == "textSwitch501CF0") {
        text_.background = false;
    } else if (r == "textSwitch501D30") {
        text_.backgroundHugsText = true;
    } else if (r == "textSwitch501D40") {
        text_.backgroundHugsText = false;
    } else if (r == "setRenderState") {
        if (number(call, 0) == 1.0f && call.numbers.size() > 1)
            raster_ = static_cast<uint32_t>(call.numbers[1]);
    } else {
        return r.rfind("textSwitch", 0) == 0; // the other switches change nothing drawn here
    }
    return true;
}

void FrameReplay::apply(const sim::HostCall& call, Image* canvas) {
    if (follow(call) || !canvas) return;
    const std::string& r = call.routine;
    if (r == "printText") {
        painter_.print(*canvas, text_, number(call, 0), number(call, 1), call.text);
    } else if (r == "drawSprite") {
        drawSprite(
            *canvas, call,
            rectangleCorners(number(call, 0), number(call, 1), number(call, 2), number(call, 3)),
            true);
    } else if (r == "drawSpriteQuad") {
        Quad corners;
        for (size_t i = 0; i < 4; ++i)
            corners[i] = {number(call, 2 * i), number(call, 2 * i + 1)};
        drawSprite(*canvas, call, corners, false);
    } else if (r == "drawPlainRectangle") {
        fillRect(*canvas, number(call, 0), number(call, 1), number(call, 2), number(call, 3),
                 colourOf(call));
    } else if (r == "drawTintedSprite") {
        drawTinted(*canvas, call);
    } else if (other_) {
        other_(call, *canvas);
    }
}

namespace {

std::string utf8(const std::u16string& text) {
    std::string out;
    for (char16_t c : text) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

DrawnBox boxAround(DrawnBox::Kind kind, std::initializer_list<Point> corners) {
    DrawnBox box;
    box.kind = kind;
    box.left = box.top = INFINITY;
    box.right = box.bottom = -INFINITY;
    for (const Point& p : corners) {
        box.left = std::min(box.left, p.x);
        box.right = std::max(box.right, p.x);
        box.top = std::min(box.top, p.y);
        box.bottom = std::max(box.bottom, p.y);
    }
    return box;
}

// Why a text that is printed inks nothing, or "" when it lies too far away to be drawn.
std::string whyNoInk(const TextState& state, float x, float y) {
    if (!std::isfinite(x) || !std::isfinite(y)) return "lies at no finite position";
    if (!(state.scaleX > 0) || !std::isfinite(state.scaleX)) return "has no width";
    if (!(state.scaleY > 0) || !std::isfinite(state.scaleY)) return "has no height";
    if (std::abs(x) >= 1e9f || std::abs(y) >= 1e9f) return "";
    return "is too large to draw";
}

// Why a sprite or rectangle shows no pixel wherever it lies, or "".
std::string whyNoPixel(const DrawnBox& box, uint8_t alpha) {
    for (float edge : {box.left, box.top, box.right, box.bottom})
        if (!std::isfinite(edge)) return "lies at no finite position";
    if (alpha == 0) return "is fully transparent";
    if (box.right <= box.left) return "has no width";
    if (box.bottom <= box.top) return "has no height";
    return "";
}

} // namespace

// Every text and sprite the HUD asks for takes a box, also one that shows nothing; a print of
// blanks is no text.
void FrameReplay::noteBox(const sim::HostCall& call, std::vector<DrawnBox>& boxes) const {
    const std::string& r = call.routine;
    const auto n = [&](size_t i) { return number(call, i); };
    DrawnBox box;
    std::optional<Quad> corners; // a sprite's, for its texture
    uint8_t alpha = call.colour.a;
    if (r == "printText") {
        if (call.text.find_first_not_of(u' ') == std::u16string::npos) return;
        TextPainter::Box ink;
        if (painter_.inkBox(text_, n(0), n(1), call.text, ink)) {
            box = {call.caller, DrawnBox::Kind::Text, ink.left, ink.top, ink.right, ink.bottom};
        } else {
            const TextLayout lines = painter_.layout(text_, n(0), call.text);
            box = {call.caller, DrawnBox::Kind::Text, n(0), n(1), n(0), n(1)};
            for (const TextLine& line : lines.lines) {
                box.left = std::min(box.left, line.left);
                box.right = std::max(box.right, line.left + line.width);
            }
            box.bottom += lines.lineHeight * float(lines.lines.size());
            box.unseen = whyNoInk(text_, n(0), n(1));
        }
        box.label = utf8(call.text);
        box.undrawable = utf8(painter_.undrawable(text_, call.text));
        const bool faded = std::isfinite(text_.alpha) && text_.alpha <= 0;
        if (text_.colour.a == 0 || faded) box.unseen = "is fully transparent";
    } else if (r == "drawSprite" || r == "drawPlainRectangle") {
        box = boxAround(r == "drawSprite" ? DrawnBox::Kind::Sprite : DrawnBox::Kind::Rectangle,
                        {{n(0), n(1)}, {n(2), n(3)}});
        const auto& c = call.colour;
        if (r == "drawSprite") {
            corners = rectangleCorners(n(0), n(1), n(2), n(3));
            box.label = call.name;
        } else {
            box.label = "colour " + std::to_string(c.r) + " " + std::to_string(c.g) + " " +
                        std::to_string(c.b) + " " + std::to_string(c.a);
        }
    } else if (r == "drawSpriteQuad") {
        box = boxAround(DrawnBox::Kind::Sprite,
                        {{n(0), n(1)}, {n(2), n(3)}, {n(4), n(5)}, {n(6), n(7)}});
        box.label = call.name;
        corners = {Point{n(0), n(1)}, Point{n(2), n(3)}, Point{n(4), n(5)}, Point{n(6), n(7)}};
    } else if (r == "drawTintedSprite") {
        box = boxAround(DrawnBox::Kind::Sprite,
                        {{n(0) - n(3), n(1) - n(4)}, {n(0) + n(3), n(1) + n(4)}});
        const auto named = rasters_.find(raster_);
        box.label = named == rasters_.end() ? "(no raster)" : named->second;
        corners = rectangleCorners(n(0) - n(3), n(1) + n(4), n(0) + n(3), n(1) - n(4));
        alpha = n(10) > 0 ? 255 : 0;
    } else {
        return;
    }
    if (box.kind != DrawnBox::Kind::Text) {
        box.unseen = whyNoPixel(box, alpha);
        // The game's corner order: bottom-left, bottom-right, top-left, top-right.
        if (corners) {
            box.mirrored = (*corners)[0].x > (*corners)[1].x;
            box.upsideDown = (*corners)[0].y < (*corners)[2].y;
        }
    }
    const Image* image =
        corners && !box.label.empty() && box.unseen.empty() ? textures_(box.label) : nullptr;
    if (image) {
        noteCover(box, *image, *corners);
        box.textureWidth = image->width;
        box.textureHeight = image->height;
    }
    box.element = call.caller;
    boxes.push_back(std::move(box));
}

void FrameReplay::drawSprite(Image& canvas, const sim::HostCall& call, const Quad& corners,
                             bool axisAligned) {
    const Image* image = call.name.empty() ? nullptr : textures_(call.name);
    if (!image) {
        drawMissingTexture(canvas, painter_, corners,
                           call.name.empty() ? "(no texture)" : call.name, &missingLabels_);
        return;
    }
    if (axisAligned)
        drawImage(canvas, *image, corners[0].x, corners[0].y, corners[3].x, corners[3].y,
                  colourOf(call));
    else
        drawImageQuad(canvas, *image, corners, colourOf(call));
}

// Centre (x, y), half width and half height, tinted; the image is the render state's raster.
void FrameReplay::drawTinted(Image& canvas, const sim::HostCall& call) {
    const float x = number(call, 0), y = number(call, 1);
    const float w = number(call, 3), h = number(call, 4);
    const Quad corners = rectangleCorners(x - w, y + h, x + w, y - h);
    const auto named = rasters_.find(raster_);
    const Image* image = named == rasters_.end() ? nullptr : textures_(named->second);
    if (!image) {
        drawMissingTexture(canvas, painter_, corners,
                           named == rasters_.end() ? "(no raster)" : named->second,
                           &missingLabels_);
        return;
    }
    const auto byte = [&](size_t i) {
        return static_cast<uint8_t>(std::clamp(number(call, i), 0.0f, 255.0f));
    };
    // The game draws it as a glow: added to what is there.
    addImageQuad(canvas, *image, corners, {byte(5), byte(6), byte(7), byte(10)});
}

Image backdrop(int width, int height) {
    Image image(width, height);
    const int horizon = height * 11 / 20;
    for (int y = 0; y < height; ++y) {
        Rgba8 c;
        if (y < horizon) {
            const float t = float(y) / float(std::max(horizon, 1));
            c = {uint8_t(92 + 60 * t), uint8_t(118 + 50 * t), uint8_t(150 + 40 * t), 255};
        } else {
            const float t = float(y - horizon) / float(std::max(height - horizon, 1));
            c = {uint8_t(88 - 40 * t), uint8_t(84 - 38 * t), uint8_t(76 - 34 * t), 255};
        }
        for (int x = 0; x < width; ++x)
            image.set(x, y, c);
    }
    return image;
}

} // namespace preview
