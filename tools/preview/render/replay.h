#pragma once
// Turns the game's logged host calls back into pixels, in the order they were made: the text
// routines change the text state, and each print, sprite and rectangle draws with what is
// current at that moment.
#include "sim/sim.h"
#include "tools/preview/render/capture_layout.h"
#include "tools/preview/render/renderer.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace preview {

// The image of a texture named "dictionary/name", or null when there is none.
using TextureLookup = std::function<const Image*(const std::string& name)>;
// Host routines the replay does not know (the radar's contents, for one) may draw here.
using OtherCall = std::function<void(const sim::HostCall& call, Image& canvas)>;

class FrameReplay {
  public:
    FrameReplay(const Fonts& fonts, TextureLookup textures, OtherCall other = {});

    // Follows the state through the calls of one frame, drawing them when a canvas is given and
    // noting the screen box of each, with the call's maker as its element, when boxes are given.
    // The text state carries over from frame to frame, as it does in the game.
    void play(const std::vector<sim::HostCall>& calls, Image* canvas,
              std::vector<DrawnBox>* boxes = nullptr);

    // The texture behind a raster handed to the render state, as "dictionary/name".
    void nameRaster(uint32_t raster, const std::string& texture) { rasters_[raster] = texture; }

    const TextState& textState() const { return text_; }
    void setTextState(const TextState& state) { text_ = state; }

  private:
    bool follow(const sim::HostCall& call);
    void apply(const sim::HostCall& call, Image* canvas);
    void noteBox(const sim::HostCall& call, std::vector<DrawnBox>& boxes) const;
    void drawSprite(Image& canvas, const sim::HostCall& call, const Quad& corners,
                    bool axisAligned);
    void drawTinted(Image& canvas, const sim::HostCall& call);

    TextPainter painter_;
    TextureLookup textures_;
    OtherCall other_;
    TextState text_;
    uint32_t raster_ = 0;
    std::vector<TextPainter::Box> missingLabels_; // the frame's "(no texture)" labels so far
    std::map<uint32_t, std::string> rasters_;
};

// A quiet scene behind the HUD, so that its colours and shadows can be judged.
Image backdrop(int width, int height);

} // namespace preview
