#pragma once
// What a render found, each problem once with the captures and sizes it was seen in: the report
// the console prints and the page's summary.
#include "tools/preview/check/settings_problems.h"
#include "tools/preview/render/capture_layout.h"

#include <string>
#include <utility>
#include <vector>

namespace preview {

struct CheckReport {
    using Sizes = std::vector<std::string>;
    struct Seen {
        LayoutFinding finding;
        std::vector<std::pair<std::string, Sizes>> captures; // each capture with its sizes
    };
    std::vector<Seen> layout;
    std::vector<std::string> missingTextures; // "dictionary/name", each once
    // The dictionaries the game loads as holding nothing, by name, with why ("is missing").
    std::vector<std::pair<std::string, std::string>> unusableDictionaries;
    size_t captures = 0;

    void add(const CaptureLayout& capture);
    void addMissing(const std::vector<std::string>& textures);

    // What the console says of each missing texture, and the page too: those of a dictionary
    // the game cannot use at all in one line.
    std::vector<std::string> missingTextureLines() const;

    size_t problems(const std::vector<SettingsProblem>& settings) const;

    // The last line of the report, and the page's summary.
    std::string summary(const std::vector<SettingsProblem>& settings) const;

    // Every line of the report as the console prints it, the summary last.
    std::vector<std::string> lines(const std::vector<SettingsProblem>& settings) const;
};

} // namespace preview
