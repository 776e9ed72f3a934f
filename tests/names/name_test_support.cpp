#include "names/name_test_support.h"

#include <gtest/gtest.h>

namespace names_testing {

std::vector<Printed> printedTexts() {
    std::vector<Printed> printed;
    sim::Colour colour{};
    for (const auto& call : sim::calls()) {
        if (call.routine == "setTextColour") colour = call.colour;
        if (call.routine == "printText")
            printed.push_back({call.text, call.numbers.at(0), call.numbers.at(1), colour});
    }
    return printed;
}

std::vector<Printed> printsOf(const std::vector<Printed>& printed, const std::u16string& text) {
    std::vector<Printed> found;
    for (const auto& p : printed)
        if (p.text == text) found.push_back(p);
    return found;
}

int nameAlpha(const std::vector<Printed>& printed, const std::u16string& name) {
    const auto prints = printsOf(printed, name);
    if (prints.empty()) return -1;
    EXPECT_EQ(prints.size(), 2u);
    if (prints.size() != 2) return -2;
    const sim::Colour black{0, 0, 0, prints[1].colour.a};
    EXPECT_EQ(prints[0].colour, black) << "the shadow is black with the name's alpha";
    return prints[1].colour.a;
}

void expectCalls(const std::vector<sim::HostCall>& actual, const std::vector<Expected>& expected) {
    ASSERT_EQ(actual.size(), expected.size()) << sim::describeAll();
    for (size_t i = 0; i < expected.size(); ++i) {
        const auto& call = actual[i];
        const auto& want = expected[i];
        SCOPED_TRACE("call " + std::to_string(i) + ": " + sim::describe(call));
        EXPECT_EQ(call.routine, want.routine);
        ASSERT_EQ(call.numbers.size(), want.numbers.size());
        for (size_t n = 0; n < want.numbers.size(); ++n)
            EXPECT_NEAR(call.numbers[n], want.numbers[n], 1e-3) << "number " << n;
        EXPECT_EQ(call.hasColour, want.colour.has_value());
        if (want.colour) {
            EXPECT_EQ(call.colour, *want.colour);
        }
        EXPECT_EQ(call.name, want.name);
        EXPECT_EQ(call.text, want.text);
    }
}

} // namespace names_testing
