// The host routines the plug-in calls, each logged with its arguments.
#include "sim/host_data.h"
#include "sim/host_map.h"
#include "sim/host_preview.h"
#include "sim/host_state.h"

#include "texdict/texdict.h"

#include <cstring>
#include <map>
#include <memory>
#include <set>
#include <utility>
#include <vector>

#include <windows.h>

#define SIM_CDECL __attribute__((cdecl))
#define SIM_THISCALL __attribute__((thiscall))

namespace sim {
namespace {

// A dictionary file's textures by name in lower case, as the game's lookup ignores case.
using TextureSet = std::map<std::string, Texture>;

struct Dictionary {
    bool present = true;
    bool released = false; // freed by the game: its handle and its textures are gone
    int loads = 0;
    int releases = 0;
    std::set<std::string> missing;
    std::shared_ptr<const TextureSet> textures;
};

std::map<std::string, Dictionary> dictionaries;

std::string lowered(std::string text) {
    for (auto& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// The file's bytes, opened as the game opens it: by 8-bit text in the system code page, where a
// letter the code page lacks names no file. Its size and last-write time say whether it changed.
// Shared for deleting too: under Wine, sharing is judged per file on disk, so a program deleting
// another hard link to the same dictionary would otherwise make this open fail.
struct DictionaryFile {
    unsigned long long size = 0;
    unsigned long long written = 0;
    std::vector<uint8_t> bytes;
};
bool openAsTheGame(const std::string& path, DictionaryFile& file, bool readBytes) {
    const HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size{};
    FILETIME written{};
    bool read = GetFileSizeEx(handle, &size) && GetFileTime(handle, nullptr, nullptr, &written);
    file.size = static_cast<unsigned long long>(size.QuadPart);
    file.written =
        (static_cast<unsigned long long>(written.dwHighDateTime) << 32) | written.dwLowDateTime;
    if (read && readBytes) {
        file.bytes.resize(static_cast<size_t>(file.size));
        DWORD got = 0;
        read =
            file.bytes.empty() || (ReadFile(handle, file.bytes.data(),
                                            static_cast<DWORD>(file.bytes.size()), &got, nullptr) &&
                                   got == file.bytes.size());
    }
    CloseHandle(handle);
    return read;
}

// Each file is parsed again only when it has changed: the tests start the game thousands of
// times on the same dictionaries.
std::shared_ptr<const TextureSet> readDictionary(const std::string& path, const std::string& stem) {
    struct Parsed {
        unsigned long long size;
        unsigned long long written;
        std::shared_ptr<const TextureSet> textures;
    };
    static std::map<std::string, Parsed> parsed;
    DictionaryFile file;
    if (!openAsTheGame(path, file, false)) return std::make_shared<const TextureSet>();
    auto known = parsed.find(path);
    if (known != parsed.end() && known->second.size == file.size &&
        known->second.written == file.written)
        return known->second.textures;

    auto textures = std::make_shared<TextureSet>();
    // A read that failed now may succeed later: only what was read is kept.
    if (!openAsTheGame(path, file, true)) return textures;
    texdict::Dictionary dictionary;
    std::string error;
    if (texdict::read(file.bytes, dictionary, error)) {
        for (auto& t : dictionary.textures)
            textures->emplace(lowered(t.name),
                              Texture{stem, t.name, t.width, t.height, std::move(t.rgba)});
    }
    parsed[path] = {file.size, file.written, textures};
    return textures;
}

bool knownDictionary(const Dictionary* dictionary) {
    for (const auto& entry : dictionaries)
        if (&entry.second == dictionary) return true;
    return false;
}

// A texture of a released dictionary is freed memory to the game.
bool releasedTexture(const Texture* texture) {
    if (!texture) return false;
    const auto found = dictionaries.find(texture->dictionary);
    return found != dictionaries.end() && found->second.released;
}

std::string stemOf(const char* path) {
    std::string text = path ? path : "";
    const auto slash = text.find_last_of("\\/");
    if (slash != std::string::npos) text.erase(0, slash + 1);
    const auto dot = text.rfind('.');
    if (dot != std::string::npos) text.erase(dot);
    for (auto& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::set<const void*> constructedSprites;

Colour colourAt(const void* rgba) {
    Colour c;
    if (checkReadable(rgba, 4, "a colour")) std::memcpy(&c, rgba, 4);
    return c;
}

bool checkSprite(const void* sprite) {
    if (!checkReadable(sprite, 4, "a sprite")) return false;
    if (constructedSprites.count(sprite)) return true;
    reportFault("a sprite the game never constructed");
    return false;
}

std::u16string hostText(const char16_t* text) {
    std::u16string out;
    if (!checkReadable(text, 2, "a text")) return out;
    for (size_t i = 0; text && text[i] && i < 0x10000; ++i)
        out += text[i];
    return out;
}

HostCall named(const char* routine, uint32_t object = 0) {
    HostCall call;
    call.routine = routine;
    call.object = object;
    return call;
}

void logged(const char* routine, std::initializer_list<double> numbers) {
    if (!recording()) return;
    auto call = named(routine);
    call.numbers = numbers;
    record(std::move(call));
}

void loggedColour(const char* routine, const void* rgba) {
    if (!recording()) return;
    auto call = named(routine);
    call.colour = colourAt(rgba);
    call.hasColour = true;
    record(std::move(call));
}

// Sprites.
void SIM_THISCALL spriteConstruct(Sprite* self) {
    if (!checkReadable(self, 4, "a sprite to construct")) return;
    constructedSprites.insert(self);
    self->texture = nullptr;
    record(named("spriteConstruct", reinterpret_cast<uint32_t>(self)));
}
void SIM_THISCALL spriteDestroy(Sprite* self) {
    if (constructedSprites.erase(self) == 0)
        reportFault("destroying a sprite the game never constructed");
    else if (releasedTexture(self->texture))
        reportFault("destroying a sprite that holds a texture of a released dictionary");
    record(named("spriteDestroy", reinterpret_cast<uint32_t>(self)));
}

HostCall spriteCall(const char* routine, const Sprite* sprite, const void* rgba) {
    auto call = named(routine, reinterpret_cast<uint32_t>(sprite));
    if (checkSprite(sprite)) {
        if (releasedTexture(sprite->texture))
            reportFault("drawing a texture of a released dictionary");
        else if (sprite->texture)
            call.name = sprite->texture->dictionary + "/" + sprite->texture->name;
    }
    call.colour = colourAt(rgba);
    call.hasColour = true;
    return call;
}

void SIM_THISCALL drawSprite(const Sprite* self, const float* rect, const void* rgba) {
    if (!recording()) return;
    auto call = spriteCall("drawSprite", self, rgba);
    if (checkReadable(rect, 16, "a rectangle")) call.numbers.assign(rect, rect + 4);
    record(std::move(call));
}
void SIM_THISCALL drawSpriteQuad(const Sprite* self, float x1, float y1, float x2, float y2,
                                 float x3, float y3, float x4, float y4, const void* rgba) {
    if (!recording()) return;
    auto call = spriteCall("drawSpriteQuad", self, rgba);
    call.numbers = {x1, y1, x2, y2, x3, y3, x4, y4};
    record(std::move(call));
}

// Dictionaries and textures.
Dictionary* SIM_CDECL loadDictionary(const char* path) {
    auto call = named("loadDictionary");
    if (checkReadable(path, 1, "a dictionary path")) call.name = path;
    const std::string file = call.name;
    record(std::move(call));
    const std::string stem = stemOf(file.c_str());
    auto& dictionary = dictionaries[stem];
    ++dictionary.loads;
    dictionary.released = false;
    if (!dictionary.present) return nullptr;
    dictionary.textures = readDictionary(file, stem);
    return &dictionary;
}
void SIM_CDECL releaseDictionary(Dictionary* dictionary) {
    record(named("releaseDictionary", reinterpret_cast<uint32_t>(dictionary)));
    if (!knownDictionary(dictionary)) return reportFault("releasing no dictionary");
    if (dictionary->released) return reportFault("releasing a released dictionary");
    dictionary->released = true;
    ++dictionary->releases;
}
const Texture* SIM_CDECL findTexture(Dictionary* dictionary, const char* name) {
    auto call = named("findTexture", reinterpret_cast<uint32_t>(dictionary));
    if (checkReadable(name, 1, "a texture name")) call.name = name;
    record(std::move(call));
    if (!knownDictionary(dictionary)) {
        reportFault("a texture search in no dictionary");
        return nullptr;
    }
    if (dictionary->released) {
        reportFault("a texture search in a released dictionary");
        return nullptr;
    }
    if (!name || dictionary->missing.count(name) || !dictionary->textures) return nullptr;
    const auto found = dictionary->textures->find(lowered(name));
    return found == dictionary->textures->end() ? nullptr : &found->second;
}

// Render state and the player.
void SIM_CDECL setRenderState(int state, int value) {
    logged("setRenderState", {double(state), double(value)});
}

// Text state.
void SIM_CDECL setTextScale(float x, float y) {
    logged("setTextScale", {x, y});
}
void SIM_CDECL setTextColour(const void* rgba) {
    loggedColour("setTextColour", rgba);
}
void SIM_CDECL setTextBackgroundColour(const void* rgba) {
    loggedColour("setTextBackgroundColour", rgba);
}
void SIM_CDECL setDropShadowColour(const void* rgba) {
    loggedColour("setDropShadowColour", rgba);
}
void SIM_CDECL setFont(int font) {
    logged("setFont", {double(font)});
}
void SIM_CDECL setDropShadowOffset(int offset) {
    logged("setDropShadowOffset", {double(offset)});
}
void SIM_CDECL setRightJustifyOn() {
    logged("setRightJustifyOn", {});
}
void SIM_CDECL setCentreOn() {
    logged("setCentreOn", {});
}
void SIM_CDECL setCentreWidth(float w) {
    logged("setCentreWidth", {w});
}
void SIM_CDECL setWrapWidth(float w) {
    logged("setWrapWidth", {w});
}
void SIM_CDECL setRightJustifyWidth(float w) {
    logged("setRightJustifyWidth", {w});
}
void SIM_CDECL setTextAlpha(float a) {
    logged("setTextAlpha", {a});
}

template <uint32_t Address> void SIM_CDECL textSwitch() {
    if (!recording()) return;
    char name[32];
    std::snprintf(name, sizeof name, "textSwitch%06X", static_cast<unsigned>(Address));
    record(named(name));
}

void SIM_CDECL asciiToHost(const char* source, char16_t* destination) {
    if (!checkReadable(source, 1, "a text to convert") ||
        !checkReadable(destination, 2, "a text buffer"))
        return;
    if (recording()) {
        auto call = named("asciiToHost");
        call.name = source ? source : "";
        record(std::move(call));
    }
    size_t i = 0;
    for (; source && source[i]; ++i)
        destination[i] = static_cast<unsigned char>(source[i]);
    destination[i] = 0;
}

void SIM_CDECL printText(float x, float y, const char16_t* text) {
    if (!recording()) return;
    auto call = named("printText");
    call.numbers = {x, y};
    call.text = hostText(text);
    record(std::move(call));
}

} // namespace

void layOutHostRoutines() {
    using namespace host;
    struct Routine {
        uint32_t address;
        const void* function;
    };
    const Routine routines[] = {
        {spriteConstructor, reinterpret_cast<const void*>(&spriteConstruct)},
        {spriteDestructor, reinterpret_cast<const void*>(&spriteDestroy)},
        {spriteDrawRect, reinterpret_cast<const void*>(&drawSprite)},
        {spriteDrawQuad, reinterpret_cast<const void*>(&drawSpriteQuad)},
        {dictionaryLoad, reinterpret_cast<const void*>(&loadDictionary)},
        {dictionaryRelease, reinterpret_cast<const void*>(&releaseDictionary)},
        {textureFind, reinterpret_cast<const void*>(&findTexture)},
        {renderStateSet, reinterpret_cast<const void*>(&setRenderState)},
        {textScale, reinterpret_cast<const void*>(&setTextScale)},
        {textColour, reinterpret_cast<const void*>(&setTextColour)},
        {textBackgroundColour, reinterpret_cast<const void*>(&setTextBackgroundColour)},
        {textDropShadowColour, reinterpret_cast<const void*>(&setDropShadowColour)},
        {textFont, reinterpret_cast<const void*>(&setFont)},
        {textDropShadowOffset, reinterpret_cast<const void*>(&setDropShadowOffset)},
        {textRightJustifyOn, reinterpret_cast<const void*>(&setRightJustifyOn)},
        {textCentreOn, reinterpret_cast<const void*>(&setCentreOn)},
        {textCentreWidth, reinterpret_cast<const void*>(&setCentreWidth)},
        {textWrapWidth, reinterpret_cast<const void*>(&setWrapWidth)},
        {textRightJustifyWidth, reinterpret_cast<const void*>(&setRightJustifyWidth)},
        {textAlpha, reinterpret_cast<const void*>(&setTextAlpha)},
        {textAsciiToHost, reinterpret_cast<const void*>(&asciiToHost)},
        {textPrint, reinterpret_cast<const void*>(&printText)},
        {0x501C80, reinterpret_cast<const void*>(&textSwitch<0x501C80>)},
        {0x501CB0, reinterpret_cast<const void*>(&textSwitch<0x501CB0>)},
        {0x501CE0, reinterpret_cast<const void*>(&textSwitch<0x501CE0>)},
        {0x501CF0, reinterpret_cast<const void*>(&textSwitch<0x501CF0>)},
        {0x501D30, reinterpret_cast<const void*>(&textSwitch<0x501D30>)},
        {0x501D40, reinterpret_cast<const void*>(&textSwitch<0x501D40>)},
        {0x501D70, reinterpret_cast<const void*>(&textSwitch<0x501D70>)},
        {0x501D90, reinterpret_cast<const void*>(&textSwitch<0x501D90>)},
        {0x501DA0, reinterpret_cast<const void*>(&textSwitch<0x501DA0>)},
    };
    for (const auto& routine : routines)
        installRoutine(routine.address, routine.function);
}

void resetTextures() {
    dictionaries.clear();
}

void removeDictionary(const std::string& stem) {
    dictionaries[stem].present = false;
}
void removeTexture(const std::string& stem, const std::string& name) {
    dictionaries[stem].missing.insert(name);
}
int loadCount(const std::string& stem) {
    auto it = dictionaries.find(stem);
    return it == dictionaries.end() ? 0 : it->second.loads;
}
int releaseCount(const std::string& stem) {
    auto it = dictionaries.find(stem);
    return it == dictionaries.end() ? 0 : it->second.releases;
}
const Texture* loadedTexture(const std::string& name) {
    const auto slash = name.find('/');
    const auto dictionary = dictionaries.find(name.substr(0, slash));
    if (slash == std::string::npos || dictionary == dictionaries.end() ||
        !dictionary->second.textures)
        return nullptr;
    const auto& textures = *dictionary->second.textures;
    const auto found = textures.find(lowered(name.substr(slash + 1)));
    return found == textures.end() ? nullptr : &found->second;
}
std::string dictionaryName(uint32_t dictionary) {
    for (const auto& [stem, held] : dictionaries)
        if (reinterpret_cast<uint32_t>(&held) == dictionary) return stem;
    return "";
}
const Texture* textureOf(uint32_t sprite) {
    return reinterpret_cast<const Sprite*>(sprite)->texture;
}
std::string textureName(uint32_t sprite) {
    const Texture* texture = textureOf(sprite);
    return texture ? texture->dictionary + "/" + texture->name : std::string();
}

} // namespace sim
