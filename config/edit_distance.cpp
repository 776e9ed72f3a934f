#include "config/edit_distance.h"

#include <algorithm>
#include <array>
#include <vector>

std::size_t editDistance(std::string_view a, std::string_view b, std::size_t limit) {
    const std::size_t beyond = limit + 1; // every distance past the limit is the same to a caller
    if (a.size() > b.size() + limit || b.size() > a.size() + limit) return beyond;
    // It runs for every unknown key against every known one: three rows (a swap looks two rows
    // back) on the stack for any name the program knows, on the heap only for a longer one.
    const std::size_t width = b.size() + 1;
    std::array<std::size_t, 3 * 64> onStack;
    std::vector<std::size_t> onHeap;
    std::size_t* cells = onStack.data();
    if (width > 64) {
        onHeap.resize(3 * width);
        cells = onHeap.data();
    }
    std::size_t* twoBack = cells;
    std::size_t* previous = cells + width;
    std::size_t* row = cells + 2 * width;
    for (std::size_t j = 0; j < width; ++j)
        row[j] = std::min(j, beyond);
    // Only cells within the limit of the diagonal can lead to a distance within it; the cell
    // either side of that band holds beyond for the next row to read.
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::swap(twoBack, previous);
        std::swap(previous, row);
        const std::size_t first = i > limit ? i - limit : 1;
        const std::size_t last = std::min(b.size(), i + limit);
        row[first - 1] = first == 1 ? std::min(i, beyond) : beyond;
        if (last < b.size()) row[last + 1] = beyond;
        std::size_t smallest = row[first - 1];
        for (std::size_t j = first; j <= last; ++j) {
            std::size_t cell = std::min(std::min(previous[j], row[j - 1]) + 1,
                                        previous[j - 1] + (a[i - 1] != b[j - 1]));
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                cell = std::min(cell, twoBack[j - 2] + 1);
            row[j] = std::min(cell, beyond);
            smallest = std::min(smallest, row[j]);
        }
        if (smallest > limit) return beyond;
    }
    return row[b.size()];
}
