#include "tools/preview/page.h"

#include "tools/preview/png_file.h"

#include <cstdio>
#include <sstream>

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

} // namespace

std::string pageScript(const PageData& data) {
    std::ostringstream out;
    out << "previewData({\n\"rendered\": " << quoted(data.rendered)
        << ",\n\"stamp\": " << data.stamp << ",\n\"problems\": ";
    writeList(out, data.problems, [&](const SettingsProblem& problem) {
        out << "\n {\"file\": " << quoted(problem.file) << ", \"line\": " << problem.line
            << ", \"text\": " << quoted(problem.text)
            << ", \"message\": " << quoted(problem.message) << "}";
    });
    out << ",\n\"missingTextures\": ";
    writeList(out, data.missingTextures, [&](const std::string& line) { out << quoted(line); });
    out << ",\n\"summary\": " << quoted(data.summary)
        << ",\n\"problemCount\": " << data.problemCount;
    out << ",\n\"captures\": ";
    writeList(out, data.frames, [&](const PageFrame& frame) {
        const CaptureLayout& layout = frame.layout;
        out << "\n {\"name\": " << quoted(layout.capture) << ", \"width\": " << layout.width
            << ", \"height\": " << layout.height << ", \"image\": " << quoted(frame.image)
            << ",\n  \"boxes\": ";
        writeList(out, layout.boxes, [&](const DrawnBox& box) {
            out << "\n   {\"element\": " << quoted(box.element) << ", \"kind\": \""
                << kindName(box.kind) << "\", \"box\": [" << number(box.left) << ","
                << number(box.top) << "," << number(box.right) << "," << number(box.bottom)
                << "], \"label\": " << quoted(box.label) << "}";
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
