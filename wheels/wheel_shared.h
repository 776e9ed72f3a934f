#pragma once
// Pieces both wheels use: name lists and the caption at the screen centre.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// Splits a comma-terminated name list into the table's first entries, in order. Text after the
// last comma is not a name; names beyond the table are dropped; entries not reached keep theirs.
void fillNameTable(std::string_view names, std::span<std::string> table);

// The table's entry, or empty text for an index outside it.
const std::string& nameAt(std::span<const std::string> table, int index);

// The end of both wheels' caption: black drop shadow, the ammo text scale, then the name
// printed at the screen centre. The caller has set centring, colour and font.
void printWheelCaption(const std::string& name);
