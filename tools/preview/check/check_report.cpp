#include "tools/preview/check/check_report.h"

#include <algorithm>
#include <cstdio>

namespace preview {

void CheckReport::add(const CaptureLayout& capture) {
    ++captures;
    const std::string size = sizeName(capture.width, capture.height);
    for (const auto& finding : capture.findings) {
        auto seen = std::find_if(layout.begin(), layout.end(), [&](const Seen& s) {
            return s.finding.problem == finding.problem;
        });
        if (seen == layout.end()) seen = layout.insert(layout.end(), Seen{finding, {}});
        auto in = std::find_if(seen->captures.begin(), seen->captures.end(),
                               [&](const auto& c) { return c.first == capture.capture; });
        if (in == seen->captures.end())
            in = seen->captures.insert(seen->captures.end(), {capture.capture, Sizes{}});
        if (std::find(in->second.begin(), in->second.end(), size) == in->second.end())
            in->second.push_back(size);
    }
}

void CheckReport::addMissing(const std::vector<std::string>& textures) {
    for (const auto& texture : textures)
        if (std::find(missingTextures.begin(), missingTextures.end(), texture) ==
            missingTextures.end())
            missingTextures.push_back(texture);
}

std::vector<std::string> CheckReport::missingTextureLines() const {
    std::vector<std::string> lines;
    const auto dictionaryOf = [](const std::string& texture) {
        return texture.substr(0, texture.find('/'));
    };
    for (const auto& [dictionary, why] : unusableDictionaries) {
        std::string names;
        size_t count = 0;
        for (const auto& texture : missingTextures)
            if (dictionaryOf(texture) == dictionary)
                names += (count++ ? ", " : "") + texture.substr(dictionary.size() + 1);
        if (count > 0)
            lines.push_back(
                "tarvel_moravik\\" + dictionary + ".txd " + why + ": the " + std::to_string(count) +
                " textures the HUD looks up in it are drawn without a picture (" + names + ")");
    }
    for (const auto& texture : missingTextures) {
        const std::string dictionary = dictionaryOf(texture);
        if (std::any_of(unusableDictionaries.begin(), unusableDictionaries.end(),
                        [&](const auto& unusable) { return unusable.first == dictionary; }))
            continue;
        lines.push_back("tarvel_moravik\\" + dictionary + ".txd lacks the texture \"" +
                        texture.substr(dictionary.size() + 1) +
                        "\" the HUD looks up: what uses it is drawn without a picture");
    }
    return lines;
}

size_t CheckReport::problems(const std::vector<SettingsProblem>& settings) const {
    return settings.size() + missingTextures.size() + layout.size();
}

std::string CheckReport::summary(const std::vector<SettingsProblem>& settings) const {
    const size_t found = problems(settings);
    const auto plural = [](size_t count) { return count == 1 ? "" : "s"; };
    char line[256];
    std::snprintf(line, sizeof line,
                  "layout check: %zu problem%s (%zu in the settings, %zu missing texture%s, "
                  "%zu in the layout of %zu captures)",
                  found, plural(found), settings.size(), missingTextures.size(),
                  plural(missingTextures.size()), layout.size(), captures);
    return line;
}

std::vector<std::string> CheckReport::lines(const std::vector<SettingsProblem>& settings) const {
    std::vector<std::string> out;
    for (const auto& problem : settings) {
        if (problem.line > 0)
            out.push_back(problem.file + " line " + std::to_string(problem.line) + ": " +
                          problem.text);
        out.push_back((problem.line > 0 ? "  " : "") + problem.message);
    }
    for (const auto& line : missingTextureLines())
        out.push_back(line);
    for (const auto& seen : layout) {
        out.push_back(seen.finding.message);
        if (!seen.finding.keys.empty()) out.push_back("  keys: " + seen.finding.keys);
        std::string where;
        for (const auto& [capture, sizes] : seen.captures) {
            where += (where.empty() ? "" : "; ") + capture + " at ";
            for (size_t i = 0; i < sizes.size(); ++i)
                where += (i ? ", " : "") + sizes[i];
        }
        out.push_back("  seen in " + where);
    }
    out.push_back(summary(settings));
    return out;
}

} // namespace preview
