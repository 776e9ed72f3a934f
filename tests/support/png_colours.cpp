// Counts the pixels of a PNG near given colours; the browser tests of the preview's page read
// their screenshots with it.
//
//   png_colours FILE RRGGBB[/TOLERANCE]...
//
// prints the count of each colour (every channel within the tolerance, 0 by default) on a line.
#include "tools/preview/render/png_file.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
    preview::Image image;
    if (argc < 3 || !preview::readPng(argv[1], image)) {
        std::fprintf(stderr, "usage: png_colours FILE RRGGBB[/TOLERANCE]... (a PNG file)\n");
        return 2;
    }
    for (int i = 2; i < argc; ++i) {
        const unsigned long rgb = std::strtoul(argv[i], nullptr, 16);
        const char* slash = std::strchr(argv[i], '/');
        const int tolerance = slash ? std::atoi(slash + 1) : 0;
        const int want[3] = {int(rgb >> 16 & 255), int(rgb >> 8 & 255), int(rgb & 255)};
        long count = 0;
        for (int y = 0; y < image.height; ++y) {
            for (int x = 0; x < image.width; ++x) {
                const preview::Rgba8 p = image.at(x, y);
                const int got[3] = {p.r, p.g, p.b};
                bool near = true;
                for (int c = 0; c < 3; ++c)
                    near = near && std::abs(got[c] - want[c]) <= tolerance;
                count += near;
            }
        }
        std::printf("%s%ld", i > 2 ? " " : "", count);
    }
    std::printf("\n");
    return 0;
}
