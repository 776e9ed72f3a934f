#pragma once
// The rules a few values are read by beyond the line grammar: decimals written with a comma, the
// words that reload on every call, the weapon wheel's multiplier floor. The readers apply them
// and the report words its notes by the same rules.
#include "config/ini_reader.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The shipped file's weapon wheel multiplier, the wheel's built-in one: the 130 once specified
// draws the wheel as a dot 8 px across at every screen size.
inline constexpr float builtInWheelMultiplier = 1.95f;

// The weapon wheel's size multiplier actually used: one that is not a finite positive number
// falls back to the built-in 1.95.
float wheelScaleMultiplier(float configured);

// A value of decimals written with a comma ("0,5 1,0", as a comma-decimal locale writes them),
// with points: when each comma stands between the digits of a number and the value has as many
// numbers as its key takes. Else empty: a comma then ends the number, so that "60,50" on a key
// of two numbers is 60 and the second's default, as a list is read (the report gives both
// readings).
std::string withDecimalPoints(std::string_view value, std::size_t numbers);
// The entry with another value text (which must outlive it).
IniEntry valueRead(const IniEntry& entry, std::string_view value);

// Whether a RELOAD_SETTINGS value asks for a reload on every call: yes or true, in any case.
bool reloadsOnEveryCall(std::string_view value);
// Whether a RELOAD_SETTINGS number is one the HUD uses: a virtual-key code, 1 to 254, or -1
// (every call). Any other would be watched as another key (300 as its low byte, 44), so it sets
// no reload key.
bool reloadKeyTaken(std::int32_t number);
