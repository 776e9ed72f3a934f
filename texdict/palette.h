#pragma once
// 8-bit palette pictures for the dictionary writer: the exact palette of a picture of at most
// 256 colours, and a reduced one for any other.
//
// The reduction works on the colours as they are seen once blended, premultiplied by their
// alpha, so that colours nobody sees (under alpha 0) cost no palette entries and edges keep
// their weight. Median cut splits the box of colours with the largest squared error at the
// weighted median of its widest channel until there are 256 boxes; a few rounds of k-means
// then move each entry to the mean of the colours nearest to it. Floyd-Steinberg dithering
// spreads each pixel's error to the pixels right of and below it, when asked for.
#include <cstdint>
#include <vector>

namespace texdict {

struct PalettePicture {
    std::vector<uint8_t> colours; // 256 entries of R, G, B, A; entries not used are zero
    std::vector<uint8_t> indices; // one a pixel, rows from the top
};

// False when the picture (R, G, B, A a pixel) has more than 256 distinct colours.
bool exactPalette(const std::vector<uint8_t>& rgba, PalettePicture& out);

// At most 256 colours chosen for the picture, each pixel the nearest or dithered.
PalettePicture reducedPalette(const std::vector<uint8_t>& rgba, int width, bool dither);

} // namespace texdict
