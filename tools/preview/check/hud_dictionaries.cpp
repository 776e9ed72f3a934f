#include "tools/preview/check/hud_dictionaries.h"

#include "tools/preview/files/whole_files.h"

#include "texdict/hud_texture_names.h"
#include "texdict/texdict.h"

#include <string_view>

namespace fs = std::filesystem;

namespace preview {

std::vector<std::string> hudDictionaryStems() {
    std::vector<std::string> stems;
    for (const HudDictionaryNames& dictionary : hudDictionaries) {
        const std::string_view path = dictionary.path;
        const size_t start = path.find_last_of('\\') + 1;
        stems.emplace_back(path.substr(start, path.rfind('.') - start));
    }
    return stems;
}

std::vector<std::pair<std::string, std::string>> unusableDictionaries(const fs::path& folder) {
    std::vector<std::pair<std::string, std::string>> unusable;
    for (const std::string& name : hudDictionaryStems()) {
        const fs::path file = folder / (name + ".txd");
        std::error_code failure;
        std::string bytes, error = "it cannot be opened";
        texdict::Dictionary dictionary;
        if (!fs::exists(file, failure))
            unusable.emplace_back(name, "is missing");
        else if (!readWholeFile(utf8Of(file), bytes) ||
                 !texdict::read({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()},
                                dictionary, error))
            unusable.emplace_back(name, "cannot be read (" + error + ")");
    }
    return unusable;
}

} // namespace preview
