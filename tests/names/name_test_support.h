#pragma once
// Reading the simulated game's call log the way the name and timer tests need it.
#include "sim/sim.h"

#include <optional>
#include <string>
#include <vector>

namespace names_testing {

// On the default 1920 x 1080 screen one horizontal layout unit is 1080/480 = 2.25 pixels and
// one vertical unit 1080/448 pixels.
constexpr double unitX = 1080.0 / 480.0;
constexpr double unitY = 1080.0 / 448.0;

// A text the plug-in printed, with the text colour set last before it.
struct Printed {
    std::u16string text;
    double x, y;
    sim::Colour colour;
};
std::vector<Printed> printedTexts();

// The alpha a name was drawn with this frame, or -1 when it was not drawn. A name is printed
// twice, a black shadow first, both with that alpha; anything else fails the test.
int nameAlpha(const std::vector<Printed>& printed, const std::u16string& name);
// The two prints of a name: shadow, then the name.
std::vector<Printed> printsOf(const std::vector<Printed>& printed, const std::u16string& text);

// One host call as a test expects it; numbers are compared to a thousandth.
struct Expected {
    std::string routine;
    std::vector<double> numbers = {};
    std::optional<sim::Colour> colour = {};
    std::string name = {};
    std::u16string text = {};
};
void expectCalls(const std::vector<sim::HostCall>& actual, const std::vector<Expected>& expected);

} // namespace names_testing
