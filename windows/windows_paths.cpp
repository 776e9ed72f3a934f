#include "windows/windows_paths.h"

std::wstring modulePath(HMODULE module) {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

std::optional<std::string> inCodePage(const std::wstring& text) {
    if (text.empty()) return std::string();
    // A UTF-8 code page takes neither the best-fit flag nor the question whether a default
    // character was used: the call would fail with both.
    const bool utf8 = GetACP() == CP_UTF8;
    const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* defaultUsed = utf8 ? nullptr : &usedDefault;
    const int size =
        WideCharToMultiByte(CP_ACP, flags, text.c_str(), -1, nullptr, 0, nullptr, defaultUsed);
    if (size <= 0 || usedDefault) return std::nullopt;
    std::string bytes(static_cast<size_t>(size), '\0');
    if (WideCharToMultiByte(CP_ACP, flags, text.c_str(), -1, bytes.data(), size, nullptr,
                            nullptr) != size)
        return std::nullopt;
    bytes.resize(static_cast<size_t>(size - 1));
    return bytes;
}

std::wstring shortPath(const std::wstring& path) {
    const DWORD size = GetShortPathNameW(path.c_str(), nullptr, 0);
    if (size == 0) return {};
    std::wstring brief(size, L'\0');
    const DWORD length = GetShortPathNameW(path.c_str(), brief.data(), size);
    if (length == 0 || length >= size) return {};
    brief.resize(length);
    return brief;
}
