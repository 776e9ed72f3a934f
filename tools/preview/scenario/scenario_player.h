#pragma once
// Plays a scenario with the real plug-in loaded into this process. The process must be a host
// process whose folder is the game directory: tarvel_hud.dll and tarvel_moravik/ beside it.
#include "tools/preview/render/capture_layout.h"
#include "tools/preview/render/replay.h"
#include "tools/preview/scenario/scenario.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace preview {

// Texture images by "dictionary/name": the textures of the dictionaries the game loaded from
// its game directory, so the preview draws exactly what the game would.
class DictionaryTextures {
  public:
    const Image* find(const std::string& name);

  private:
    std::map<const void*, Image> cache_; // by the game's texture
};

struct PlayOptions {
    int width = 1920;
    int height = 1080;
    const Fonts* fonts = nullptr;
    DictionaryTextures* textures = nullptr;
    // Each capture as it is taken; returning false ends the play.
    std::function<bool(const std::string& name, const Image& frame)> capture;
    // Each capture's layout, checked, as it is taken; returning false ends the play. When it is
    // set, every call the plug-in makes is traced back to the HUD element that made it.
    std::function<bool(const CaptureLayout& layout)> layout;
    // Filled with each texture the plug-in looked up and the game's dictionary lacks, as
    // "dictionary/name": the HUD draws what uses it without a picture.
    std::vector<std::string>* missingTextures = nullptr;
};

// False, with error set, when the plug-in cannot be loaded or a capture was refused.
bool playScenario(const Scenario& scenario, const PlayOptions& options, std::string& error);

} // namespace preview
