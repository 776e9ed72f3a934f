#include "tools/preview/scenario/element_of_call.h"
#include "tools/preview/files/whole_files.h"

#include "windows/windows_paths.h"

#include <unwind.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

// libgcc's registry of unwind tables; the plug-in's own copy of libgcc keeps its tables to itself.
extern "C" void __register_frame_info(const void* begin, void* object);
extern "C" void* __deregister_frame_info(const void* begin);

namespace preview {

namespace {

// The plug-in's source files that draw one HUD element each. Shared helpers are in none of them,
// so a call made through one is the element's that called the helper.
struct ElementFile {
    const char* file;
    const char* element;
};
constexpr ElementFile elementFiles[] = {
    {"crosshair.cpp", "crosshair"},
    {"radar_frame.cpp", "radar"},
    {"area_vehicle_names.cpp", "area and vehicle names"},
    {"mission_timers.cpp", "mission timers"},
    {"pager.cpp", "pager"},
    {"wanted_stars.cpp", "wanted stars"},
    {"weapon_wheel.cpp", "weapon wheel"},
    {"radio_wheel.cpp", "radio wheel"},
    {"money_ammo_panels.cpp", "money and ammo"},
    {"subtitles.cpp", "subtitles"},
    {"big_messages.cpp", "big messages"},
    {"help_box.cpp", "help box"},
    {"odd_job_messages.cpp", "odd-job messages"},
    {"mission_title.cpp", "mission title"},
    {"phone.cpp", "phone"},
};

struct CodeRange {
    uintptr_t begin = 0, end = 0;
    const char* element = nullptr; // null for a function of no element
};

std::vector<CodeRange> ranges; // every function of the DLL, sorted
const void* unwindTables = nullptr;
void* unwindObject[32]; // libgcc's bookkeeping for the tables; larger than it needs

template <typename T> T readAt(const std::vector<char>& file, size_t offset) {
    T value{};
    if (offset + sizeof(T) <= file.size()) std::memcpy(&value, file.data() + offset, sizeof(T));
    return value;
}

// The linker keeps short file names to their first 14 characters.
const char* elementOfFile(const std::string& file) {
    for (const auto& entry : elementFiles) {
        const std::string_view name = entry.file;
        if (file == name || (file.size() == 14 && name.substr(0, 14) == file)) return entry.element;
    }
    return nullptr;
}

std::vector<char> fileBytes(const std::string& path) {
    std::string bytes;
    if (!readWholeFile(path, bytes)) return {};
    return {bytes.begin(), bytes.end()};
}

size_t peHeader(const std::vector<char>& file) {
    return readAt<uint32_t>(file, 0x3C) + 4; // past "PE\0\0"
}

// Whether the file's sections lie where the loaded plug-in's do: symbols of another build of it
// would send the unwinder into tables that are not there.
bool sameLayout(const std::vector<char>& file, HMODULE plugin) {
    const auto* image = reinterpret_cast<const unsigned char*>(plugin);
    uint32_t lfanew = 0;
    std::memcpy(&lfanew, image + 0x3C, sizeof lfanew);
    const unsigned char* loaded = image + lfanew + 4;
    uint16_t loadedCount = 0, loadedOptional = 0;
    std::memcpy(&loadedCount, loaded + 2, sizeof loadedCount);
    std::memcpy(&loadedOptional, loaded + 16, sizeof loadedOptional);
    const auto header = peHeader(file);
    const auto fileCount = readAt<uint16_t>(file, header + 2);
    const size_t fileSections = header + 20 + readAt<uint16_t>(file, header + 16);
    for (size_t i = 0; i < loadedCount; ++i) {
        const unsigned char* section = loaded + 20 + loadedOptional + i * 40;
        uint32_t size = 0, address = 0, characteristics = 0;
        std::memcpy(&size, section + 8, sizeof size);
        std::memcpy(&address, section + 12, sizeof address);
        std::memcpy(&characteristics, section + 36, sizeof characteristics);
        // The debug link and the relocations are the DLL's own; the debug file has neither.
        if (characteristics & IMAGE_SCN_MEM_DISCARDABLE) continue;
        bool found = false;
        for (size_t j = 0; j < fileCount && !found; ++j)
            found = readAt<uint32_t>(file, fileSections + j * 40 + 12) == address &&
                    readAt<uint32_t>(file, fileSections + j * 40 + 8) == size;
        if (!found) return false;
    }
    return true;
}

bool hasSymbols(const std::vector<char>& file) {
    const auto header = peHeader(file);
    return readAt<uint32_t>(file, header + 8) != 0 && readAt<uint32_t>(file, header + 12) != 0;
}

_Unwind_Reason_Code innermostElement(_Unwind_Context* context, void* found) {
    const uintptr_t returnAddress = _Unwind_GetIP(context);
    const uintptr_t inCall = returnAddress - 1;
    auto after = std::upper_bound(ranges.begin(), ranges.end(), inCall,
                                  [](uintptr_t at, const CodeRange& r) { return at < r.begin; });
    if (after == ranges.begin()) return _URC_NO_REASON;
    const CodeRange& range = *std::prev(after);
    if (inCall >= range.end || !range.element) return _URC_NO_REASON;
    *static_cast<const char**>(found) = range.element;
    return _URC_NORMAL_STOP;
}

} // namespace

bool startNamingElements(HMODULE plugin, std::string& error) {
    // The shipped DLL is stripped; its symbols live in the debug file beside it, whose section
    // table matches the DLL's: named after the DLL, or after the .asi it ships as.
    const std::string module = utf8Of(modulePath(plugin));
    const std::string stem = module.substr(0, module.find_last_of('.'));
    std::string path, otherBuild;
    std::vector<char> file;
    bool found = false;
    for (const std::string& candidate : {module, module + ".debug", stem + ".asi.debug"}) {
        path = candidate;
        file = fileBytes(path);
        if (!hasSymbols(file)) continue;
        found = sameLayout(file, plugin);
        if (found) break;
        otherBuild = path;
    }
    if (!found) {
        error = otherBuild.empty()
                    ? path + " is missing or carries no symbol table"
                    : otherBuild + " belongs to another build of the plug-in than " + module;
        error += ", so what the plug-in draws cannot be told apart";
        return false;
    }
    const auto header = peHeader(file);
    const auto sectionCount = readAt<uint16_t>(file, header + 2);
    const auto symbolTable = readAt<uint32_t>(file, header + 8);
    const auto symbolCount = readAt<uint32_t>(file, header + 12);
    const auto optionalSize = readAt<uint16_t>(file, header + 16);
    const size_t strings = symbolTable + size_t(symbolCount) * 18;
    auto stringAt = [&](size_t offset) {
        std::string text;
        for (size_t i = strings + offset; i < file.size() && file[i]; ++i)
            text += file[i];
        return text;
    };
    auto shortName = [&](size_t offset, size_t length) {
        std::string text(file.data() + std::min(offset, file.size()),
                         std::min(length, file.size() - std::min(offset, file.size())));
        return text.substr(0, text.find('\0'));
    };

    const auto base = reinterpret_cast<uintptr_t>(plugin);
    const size_t sections = header + 20 + optionalSize;
    std::vector<uintptr_t> sectionStart(sectionCount);
    for (size_t i = 0; i < sectionCount; ++i) {
        const size_t at = sections + i * 40;
        sectionStart[i] = base + readAt<uint32_t>(file, at + 12);
        std::string name = shortName(at, 8);
        if (name.size() > 1 && name[0] == '/')
            name = stringAt(std::strtoul(name.c_str() + 1, nullptr, 10));
        if (name == ".eh_frame") unwindTables = reinterpret_cast<const void*>(sectionStart[i]);
    }
    if (!unwindTables) {
        error = path + " carries no unwind tables";
        return false;
    }

    // Each object's symbols follow a file record that names its source file.
    ranges.clear();
    const char* element = nullptr;
    for (size_t i = 0; i < symbolCount; i += 1 + readAt<uint8_t>(file, symbolTable + i * 18 + 17)) {
        const size_t at = symbolTable + i * 18;
        const auto section = readAt<int16_t>(file, at + 12);
        if (readAt<uint8_t>(file, at + 16) == 103) { // a file record; its name follows
            const bool inStrings = readAt<uint32_t>(file, at + 18) == 0;
            element = elementOfFile(inStrings ? stringAt(readAt<uint32_t>(file, at + 22))
                                              : shortName(at + 18, 18));
            continue;
        }
        const bool function = (readAt<uint16_t>(file, at + 14) >> 4) == 2;
        if (function && section >= 1 && section <= sectionCount)
            ranges.push_back(
                {sectionStart[section - 1] + readAt<uint32_t>(file, at + 8), 0, element});
    }
    std::sort(ranges.begin(), ranges.end(),
              [](const CodeRange& a, const CodeRange& b) { return a.begin < b.begin; });
    for (size_t i = 0; i < ranges.size(); ++i)
        ranges[i].end = i + 1 < ranges.size() ? ranges[i + 1].begin : ranges[i].begin + 1;
    __register_frame_info(unwindTables, unwindObject);
    return true;
}

void stopNamingElements() {
    if (unwindTables) __deregister_frame_info(unwindTables);
    unwindTables = nullptr;
    ranges.clear();
}

std::string elementOfCall() {
    const char* element = nullptr;
    _Unwind_Backtrace(innermostElement, &element);
    return element ? element : "";
}

} // namespace preview
