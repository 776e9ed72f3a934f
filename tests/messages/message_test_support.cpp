#include "message_test_support.h"

namespace messages_test {

std::string narrow(const std::u16string& text) {
    return {text.begin(), text.end()};
}

std::vector<Printed> printed() {
    std::vector<Printed> found;
    sim::Colour colour;
    for (const auto& call : sim::calls()) {
        if (call.routine == "setTextColour") colour = call.colour;
        if (call.routine != "printText") continue;
        found.push_back({narrow(call.text), static_cast<float>(call.numbers.at(0)),
                         static_cast<float>(call.numbers.at(1)), colour});
    }
    return found;
}

std::vector<Printed> printedText(const std::string& text) {
    std::vector<Printed> found;
    for (const auto& p : printed())
        if (p.text == text) found.push_back(p);
    return found;
}

int printedAlpha(const std::string& text) {
    const auto found = printedText(text);
    return found.empty() ? -1 : found.back().colour.a;
}

} // namespace messages_test
