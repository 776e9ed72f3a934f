// Reads arbitrary bytes as a texture dictionary. A file it takes has textures whose pixels fill
// their sides, and, when the game's writer accepts them, writes back and reads again to the same
// names and pixels; a file it refuses gets an error that says where. AddressSanitizer sees every
// byte read past the input.
#include "fuzz_check.h"
#include "texdict/texdict.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    texdict::Dictionary dictionary;
    std::string error;
    if (!texdict::read({data, size}, dictionary, error)) {
        FUZZ_CHECK(error.rfind("at byte ", 0) == 0);
        FUZZ_CHECK(dictionary.textures.empty());
        return 0;
    }
    for (const auto& t : dictionary.textures) {
        FUZZ_CHECK(t.width > 0 && t.height > 0);
        FUZZ_CHECK(t.rgba.size() == size_t(t.width) * size_t(t.height) * 4);
        FUZZ_CHECK(!t.format.empty());
    }
    if (!texdict::problemWith(dictionary).empty()) return 0;
    texdict::Dictionary again;
    FUZZ_CHECK(texdict::read(texdict::write(dictionary), again, error));
    FUZZ_CHECK(again.textures.size() == dictionary.textures.size());
    for (size_t i = 0; i < again.textures.size(); ++i) {
        FUZZ_CHECK(again.textures[i].name == dictionary.textures[i].name);
        FUZZ_CHECK(again.textures[i].rgba == dictionary.textures[i].rgba);
        FUZZ_CHECK(again.textures[i].format == "8888");
    }
    return 0;
}
