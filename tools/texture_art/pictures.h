#pragma once
// The default art's pictures that show things: the weapons and the radio stations.
#include "tools/texture_art/canvas.h"

namespace art {

// A weapon drawn upright, as large as fits a box centred on `centre` whose sides run along
// and across the direction `angle` (clockwise from twelve o'clock): `along` long that way and
// `across` wide the other.
void drawWeapon(Canvas& canvas, int slot, Vec centre, float angle, float along, float across);

// Text through the preview's typefaces: centred on x, y the top of the line, as high as
// `height` pixels and `widthPerHeight` times as wide as its face would have it, unless it
// would be wider than `maxWidth`.
class Lettering {
  public:
    explicit Lettering(const preview::TextPainter& text) : text_(text) {}
    void print(Canvas& canvas, const char* words, float x, float y, float height, float maxWidth,
               Rgba8 colour, int font = 2, float widthPerHeight = 1) const;

  private:
    const preview::TextPainter& text_;
};

// The logo of station 0 to 11, as the radio wheel shows it; 11 is the radio switched off.
preview::Image stationLogo(int station, int size, const Lettering& lettering);

} // namespace art
