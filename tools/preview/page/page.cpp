#include "tools/preview/page/page.h"

#include "tools/preview/check/layout_check.h"
#include "tools/preview/edit/element_geometry.h"
#include "tools/preview/files/whole_files.h"

#include "config/hud_colors.h"
#include "config/hud_settings.h"
#include "config/settings_report.h"
#include "config/utf8_files.h"

#include <algorithm>
#include <cstdio>
#include <sstream>
#include <string_view>

namespace preview {

namespace {

std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string number(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", static_cast<double>(value));
    return text;
}

// Items joined by commas, each written by item.
template <class List, class Write> void writeList(std::ostream& out, const List& list, Write item) {
    out << '[';
    bool first = true;
    for (const auto& entry : list) {
        if (!first) out << ',';
        first = false;
        item(entry);
    }
    out << ']';
}

// Lines that look like a setting: not blank, no comment, split at CR LF, LF or a lone CR.
// NUL bytes are dropped, so that UTF-16 text counts as its ASCII would.
int keyLinesOf(const std::string& path) {
    std::FILE* file = openUtf8File(path.c_str(), "rb");
    if (!file) return 0;
    std::string bytes;
    char buffer[4096];
    for (size_t read; (read = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
        bytes.append(buffer, read);
    std::fclose(file);
    bytes.erase(std::remove(bytes.begin(), bytes.end(), '\0'), bytes.end());
    int lines = 0;
    bool lineStart = true;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\r' || c == '\n') {
            lineStart = true;
        } else if (lineStart && c != ' ' && c != '\t' && byte < 0x80) {
            lines += c != '#' && c != ';' && c != '=';
            lineStart = false;
        }
    }
    return lines;
}

int settingsTaken(const IniReader& reader) {
    return int(std::count_if(reader.entries().begin(), reader.entries().end(),
                             [](const IniEntry& entry) { return entry.used; }));
}

} // namespace

namespace {

// The layout file and the colour file its RADAR_TYPE selects, read as the HUD reads them.
struct SettingsRead {
    IniReader layout, colours;
    const char* colourFile = nullptr;
    HudSettings settings;

    explicit SettingsRead(const std::string& gameDirectory) {
        layout.load((gameDirectory + layoutFile).c_str());
        readLayout(settings, layout);
        colourFile = colorFileFor(settings.RADAR_TYPE);
        colours.load((gameDirectory + colourFile).c_str());
        readColors(settings.colors, colours);
    }
};

std::string rgbaList(Rgba colour) {
    return "[" + std::to_string(colour.r) + "," + std::to_string(colour.g) + "," +
           std::to_string(colour.b) + "," + std::to_string(colour.a) + "]";
}

// Each colour key's colour as the HUD draws it and built in, r g b a, with what its alpha comes
// from where that is not the colour; and the editor's name of the colour file the HUD reads.
void writeColours(std::ostream& out, const std::vector<SettingValue>& settings) {
    std::string colourFile;
    out << ",\n\"colours\": {";
    for (const SettingValue& setting : settings) {
        if (!setting.colour) continue;
        out << (colourFile.empty() ? "\n " : ",\n ") << quoted(setting.key)
            << ": {\"drawn\": " << rgbaList(setting.drawn)
            << ", \"builtIn\": " << rgbaList(setting.builtIn);
        if (const std::string_view from = alphaOfColourFrom(setting.key); !from.empty())
            out << ", \"alphaFrom\": " << quoted(std::string(from));
        out << "}";
        colourFile = setting.editedAs;
    }
    out << "},\n\"colourFile\": " << quoted(colourFile);
}

} // namespace

std::vector<SettingValue> settingValues(const std::string& gameDirectory) {
    const SettingsRead read(gameDirectory);
    std::vector<SettingValue> values;
    const auto take = [&](const IniReader& reader, const char* file, const char* editedAs) {
        for (const IniEntry& entry : reader.entries())
            if (entry.used)
                values.push_back(
                    {std::string(entry.key), std::string(entry.value), file, editedAs, entry.line});
    };
    take(read.layout, layoutFile, "layout");
    const char* colourFileName =
        std::string_view(read.colourFile).find("VColors") != std::string_view::npos ? "VColors"
                                                                                    : "IIIColors";
    const size_t firstColour = values.size();
    take(read.colours, read.colourFile, colourFileName);
    static const HudColors builtIn;
    forEachColorField([&](std::string_view key, Rgba HudColors::*field) {
        auto given = std::find_if(values.begin() + std::ptrdiff_t(firstColour), values.end(),
                                  [&](const SettingValue& value) { return value.key == key; });
        if (given == values.end())
            given = values.insert(values.end(),
                                  {std::string(key), "", read.colourFile, colourFileName, 0});
        given->colour = true;
        given->drawn = read.settings.colors.*field;
        given->builtIn = builtIn.*field;
    });
    return values;
}

std::vector<SettingsLines> countSettingsLines(const std::string& gameDirectory) {
    const SettingsRead read(gameDirectory);
    const IniReader &layout = read.layout, &colours = read.colours;
    const char* colourFile = read.colourFile;
    return {{layoutFile, keyLinesOf(gameDirectory + layoutFile), settingsTaken(layout)},
            {colourFile, keyLinesOf(gameDirectory + colourFile), settingsTaken(colours)}};
}

std::string settingsLinesNote(const std::vector<SettingsLines>& files) {
    std::string note;
    for (const auto& f : files) {
        note += note.empty() ? "" : "; ";
        const std::string of = " of " + std::to_string(f.keyLines) + " line" +
                               (f.keyLines == 1 ? "" : "s") + " with a key";
        if (f.settings == 0)
            note += f.file + ": no line gave a setting" +
                    (f.keyLines ? " (" + of.substr(1) + ")" : "") +
                    ": the HUD draws all of it with its built-in values";
        else
            note += f.file + ": " + std::to_string(f.settings) + of + " gave a setting";
    }
    return note;
}

bool everyLineGaveASetting(const std::vector<SettingsLines>& files) {
    return std::all_of(files.begin(), files.end(), [](const SettingsLines& f) {
        return f.settings > 0 && f.settings >= f.keyLines;
    });
}

std::string pageScript(const PageData& data) {
    std::ostringstream out;
    out << "previewData({\n\"rendered\": " << quoted(data.rendered)
        << ",\n\"stamp\": " << data.stamp << ",\n\"problems\": ";
    writeList(out, data.problems, [&](const SettingsProblem& problem) {
        out << "\n {\"file\": " << quoted(problem.file) << ", \"line\": " << problem.line
            << ", \"text\": " << quoted(problem.text)
            << ", \"message\": " << quoted(problem.message) << "}";
    });
    out << ",\n\"settingsLines\": " << quoted(settingsLinesNote(data.settingsLines))
        << ",\n\"everyLine\": " << (everyLineGaveASetting(data.settingsLines) ? "true" : "false");
    out << ",\n\"missingTextures\": ";
    writeList(out, data.missingTextures, [&](const std::string& line) { out << quoted(line); });
    out << ",\n\"summary\": " << quoted(data.summary)
        << ",\n\"problemCount\": " << data.problemCount;
    out << ",\n\"settings\": {";
    bool first = true;
    for (const SettingValue& setting : data.settings) {
        if (!setting.line) continue;
        out << (first ? "\n " : ",\n ") << quoted(setting.key)
            << ": {\"value\": " << quoted(setting.value) << ", \"file\": " << quoted(setting.file)
            << ", \"editedAs\": " << quoted(setting.editedAs) << ", \"line\": " << setting.line;
        out << "}";
        first = false;
    }
    out << "}";
    // Per key that places or sizes an element, each number's axis, the edge a position is
    // measured from (0 for a size) and its unit.
    out << ",\n\"geometry\": {";
    first = true;
    for (const GeometryKey& key : geometryKeys) {
        out << (first ? "\n " : ",\n ") << quoted(key.key) << ": {\"numbers\": ";
        writeList(out, std::vector<KeyNumber>(key.numbers, key.numbers + numberCount(key)),
                  [&](const KeyNumber& n) {
                      out << "{\"across\": " << (n.across ? "true" : "false")
                          << ", \"fromEdge\": " << n.fromEdge << ", \"unit\": \""
                          << unitName(n.unit) << "\"}";
                  });
        out << ", \"proportional\": " << (key.proportional ? "true" : "false") << "}";
        first = false;
    }
    out << "}";
    writeColours(out, data.settings);
    out << ",\n\"captures\": ";
    writeList(out, data.frames, [&](const PageFrame& frame) {
        const CaptureLayout& layout = frame.layout;
        out << "\n {\"name\": " << quoted(layout.capture) << ", \"width\": " << layout.width
            << ", \"height\": " << layout.height << ", \"image\": " << quoted(frame.image)
            << ",\n  \"unitPixels\": {";
        for (const LayoutUnit unit :
             {LayoutUnit::Across640, LayoutUnit::Down448, LayoutUnit::ShortSide1080}) {
            char perUnit[32];
            std::snprintf(perUnit, sizeof perUnit, "%.9g",
                          static_cast<double>(pixelsPerUnit(unit, layout.width, layout.height)));
            out << (unit == LayoutUnit::Across640 ? "\"" : ", \"") << unitName(unit)
                << "\": " << perUnit;
        }
        out << "},\n  \"boxes\": ";
        writeList(out, layout.boxes, [&](const DrawnBox& box) {
            out << "\n   {\"element\": " << quoted(box.element) << ", \"kind\": \""
                << kindName(box.kind) << "\", \"box\": [" << number(box.left) << ","
                << number(box.top) << "," << number(box.right) << "," << number(box.bottom)
                << "], \"label\": " << quoted(box.label);
            const BoxKeys keys = keysOfBox(box);
            out << ", \"name\": " << quoted(keys.name) << ", \"keys\": ";
            writeList(out, keys.placing, [&](const std::string& key) { out << quoted(key); });
            out << ", \"colours\": ";
            writeList(out, keys.colours, [&](const std::string& key) { out << quoted(key); });
            out << ", \"group\": " << quoted(keys.group);
            const DrawnBox ink = inkOf(box);
            out << ", \"ink\": [" << number(ink.left) << "," << number(ink.top) << ","
                << number(ink.right) << "," << number(ink.bottom) << "]}";
        });
        out << ",\n  \"findings\": ";
        writeList(out, layout.findings, [&](const LayoutFinding& finding) {
            out << "\n   {\"message\": " << quoted(finding.message)
                << ", \"keys\": " << quoted(finding.keys) << ", \"boxes\": ";
            writeList(out, finding.boxes, [&](size_t box) { out << box; });
            out << "}";
        });
        out << "}";
    });
    out << "\n});\n";
    return out.str();
}

bool writePageData(const std::string& folder, const PageData& data, std::string& error) {
    const std::string script = pageScript(data);
    return writeWholeFile(
        folder + "/preview-data.js", [&](std::ostream& file) { return bool(file << script); },
        error);
}

bool writePage(const std::string& templatePath, const std::string& folder, std::string& error) {
    std::string page, present;
    if (!readWholeFile(templatePath, page)) {
        error = "cannot read the page template " + templatePath;
        return false;
    }
    const std::string path = folder + "/index.html";
    if (readWholeFile(path, present) && present == page) return true;
    return writeWholeFile(
        path, [&](std::ostream& file) { return bool(file << page); }, error);
}

} // namespace preview
