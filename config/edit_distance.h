#pragma once
// How far a word a person wrote is from one the program knows, for "did you mean" hints.
#include <cstddef>
#include <string_view>

// Letters to add, drop, change or swap with their neighbour to make a into b, counted up to
// limit + 1: every distance past the limit is limit + 1.
std::size_t editDistance(std::string_view a, std::string_view b, std::size_t limit);
