#pragma once
// What the preview asks of the simulated game beyond the setters the tests use.
#include "sim/host_data.h"

#include <cstdint>
#include <string>

namespace sim {

// The game's texture search, run at its address like any other call (and logged).
const Texture* searchTexture(uint32_t dictionary, const std::string& name);
// A texture of a dictionary the game holds, by "dictionary/name" (the file's stem, the name as
// the file stores it), or null.
const Texture* loadedTexture(const std::string& name);
// The stem of the dictionary file behind a handle the game gave out ("ring_iii"), or "".
std::string dictionaryName(uint32_t dictionary);
// A texture's raster as the render state takes it: the texture object's first field.
uint32_t rasterOf(const Texture* texture);
// The game clock in milliseconds.
uint32_t clockNow();

} // namespace sim
