#include "tools/preview/run/two_runs.h"

namespace preview {

std::string quoted(const std::string& text) {
    std::string out = "\"";
    size_t backslashes = 0;
    for (const char c : text) {
        if (c == '"') out.append(backslashes + 1, '\\');
        backslashes = c == '\\' ? backslashes + 1 : 0;
        out += c;
    }
    return out.append(backslashes, '\\') + "\"";
}

std::string eventName(DWORD process, const char* what) {
    return "tarvel_preview_" + std::to_string(process) + "_" + what;
}

} // namespace preview
