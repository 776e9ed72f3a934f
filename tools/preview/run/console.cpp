#include "tools/preview/run/console.h"

#include "config/utf8_files.h"

#include <windows.h>

#include <cstdarg>
#include <cstring>

namespace preview {

void say(std::FILE* stream, const char* format, ...) {
    va_list values;
    va_start(values, format);
    const int length = std::vsnprintf(nullptr, 0, format, values);
    va_end(values);
    if (length < 0) return;
    std::string text(static_cast<size_t>(length) + 1, '\0');
    va_start(values, format);
    std::vsnprintf(text.data(), text.size(), format, values);
    va_end(values);
    text.pop_back();
    const HANDLE handle = GetStdHandle(stream == stderr ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    if (!GetConsoleMode(handle, &mode)) {
        std::fputs(text.c_str(), stream);
        std::fflush(stream); // a pipe's stderr is buffered, and --watch may be killed
        return;
    }
    std::fflush(stream);
    const std::wstring wide = wideFromUtf8(text);
    DWORD written = 0;
    WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
}

int fail(const std::string& message) {
    say(stderr, "preview: %s\n", message.c_str());
    return 1;
}

std::string shown(std::string path) {
    if (path.size() > 2 && (path[0] == 'Z' || path[0] == 'z') && path[1] == ':') {
        path.erase(0, 2);
        for (auto& c : path)
            if (c == '\\') c = '/';
    }
    return path;
}

std::string fileAddress(const std::string& path) {
    std::string shownPath = shown(path);
    if (shownPath.front() != '/') {
        for (auto& c : shownPath)
            if (c == '\\') c = '/';
        shownPath = "/" + shownPath;
    }
    std::string address = "file://";
    for (const char c : shownPath) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
            (byte >= '0' && byte <= '9') || std::strchr("-._~/:", byte)) {
            address += c;
        } else {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", byte);
            address += escaped;
        }
    }
    return address;
}

std::string timeNow() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", now.wYear, now.wMonth,
                  now.wDay, now.wHour, now.wMinute, now.wSecond);
    return text;
}

} // namespace preview
