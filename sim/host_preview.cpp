#include "sim/host_preview.h"
#include "sim/host_map.h"

#include <cstring>

namespace sim {

const Texture* searchTexture(uint32_t dictionary, const std::string& name) {
    using Search = const Texture*(__attribute__((cdecl))*)(uint32_t, const char*);
    return reinterpret_cast<Search>(host::textureFind)(dictionary, name.c_str());
}

uint32_t rasterOf(const Texture* texture) {
    uint32_t raster = 0;
    if (texture) std::memcpy(&raster, texture, sizeof raster);
    return raster;
}

uint32_t clockNow() {
    const Build build = currentBuild();
    return build == Build::unknown ? 0 : at<uint32_t>(host::clock[static_cast<int>(build)]);
}

} // namespace sim
