#include "host/hud_textures.h"
#include "host/data_paths.h"
#include "host/hud_log.h"
#include "texdict/hud_texture_names.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>

HudTextures hudTextures{};

namespace {

// The game's construction order; destruction runs it backwards.
template <class Visit> void forEachSpriteInConstructionOrder(Visit visit) {
    for (auto& sprite : hudTextures.ringSprites)
        visit(sprite);
    for (auto& sprite : hudTextures.radioSprites)
        visit(sprite);
    for (auto& sprite : hudTextures.mainSprites)
        visit(sprite);
    visit(hudTextures.radioWheelSprite);
    for (auto& sprite : hudTextures.weaponWheelSprites)
        visit(sprite);
    visit(hudTextures.phoneSprite);
}

constexpr int ringTextureCount = weaponSegmentCount;
constexpr int ringSpritesOfMainDictionary[] = {RocketSightSprite, PagerSprite, SniperSightSprite,
                                               CrosshairSprite};

constexpr const char* mainFile = mainDictionaryPath;
constexpr const char* ringFile = ringDictionaryPath;
constexpr const char* radioFile = radioDictionaryPath;
constexpr const char* phoneFile = phoneDictionaryPath;

// The dictionaries of this start whose file is not there: their textures are not named again.
const char* missingFiles[4];
int missingCount = 0;

bool fileMissing(const char* file) {
    return std::find(missingFiles, missingFiles + missingCount, file) !=
           missingFiles + missingCount;
}

// Loads a dictionary and tells the log whether it came.
HostDictionary loadLogged(const char* file) {
    const bool there = pathExists(dataPath(file));
    const HostDictionary dictionary = host::loadDictionary(loaderPath(file));
    if (!there) {
        if (missingCount < 4) missingFiles[missingCount++] = file;
        logLine("texture dictionary %s is missing: its pictures are not drawn", file);
    } else if (!dictionary) {
        logLine("texture dictionary %s cannot be read: its pictures are not drawn", file);
    } else {
        logLine("texture dictionary %s loaded", file);
    }
    return dictionary;
}

// A texture the dictionary lacks is named in the log; a missing dictionary was named already.
void* findLogged(HostDictionary dictionary, const char* file, const char* name) {
    void* texture = host::findTexture(dictionary, name);
    if (!texture && dictionary && !fileMissing(file))
        logLine("texture \"%s\" not found in %s: it is not drawn", name, file);
    return texture;
}

void findNumbered(HostSprite* sprites, int count, HostDictionary dictionary, const char* file) {
    char name[16];
    for (int i = 0; i < count; ++i) {
        std::snprintf(name, sizeof name, "%d", i);
        sprites[i].texture = findLogged(dictionary, file, name);
    }
}

} // namespace

void constructHudSprites() {
    forEachSpriteInConstructionOrder([](HostSprite& sprite) { host::constructSprite(sprite); });
}

void destroyHudSprites() {
    HostSprite* order[22 + 12 + 5 + 1 + 2 + 1];
    int count = 0;
    forEachSpriteInConstructionOrder([&](HostSprite& sprite) { order[count++] = &sprite; });
    while (count > 0)
        host::destroySprite(*order[--count]);
}

void loadHudTextures() {
    if (hudTextures.dictionariesHeld) releaseHudTextures();
    missingCount = 0;
    auto& t = hudTextures;
    t.mainDictionary = loadLogged(mainFile);
    t.ringDictionary = loadLogged(ringFile);
    t.radioDictionary = loadLogged(radioFile);

    const char* mainNames[] = {radarFrameTexture, radarMaskTexture, barTexture, starTexture,
                               timerBarTexture};
    for (int i = 0; i < 5; ++i)
        t.mainSprites[i].texture = findLogged(t.mainDictionary, mainFile, mainNames[i]);
    findNumbered(t.ringSprites, ringTextureCount, t.ringDictionary, ringFile);
    const auto fromMain = [&](const char* name) {
        return findLogged(t.mainDictionary, mainFile, name);
    };
    t.ringSprites[RocketSightSprite].texture = fromMain(rocketSightTexture);
    t.ringSprites[PagerSprite].texture = fromMain(pagerTexture);
    t.ringSprites[SniperSightSprite].texture = fromMain(sniperSightTexture);
    t.ringSprites[CrosshairSprite].texture = fromMain(crosshairTexture);
    findNumbered(t.radioSprites, radioIconCount, t.radioDictionary, radioFile);

    t.phoneDictionary = loadLogged(phoneFile);
    t.dictionariesHeld = true;
}

void releaseHudTextures() {
    auto& t = hudTextures;
    if (!t.dictionariesHeld) return;
    t.dictionariesHeld = false;
    host::releaseDictionary(t.mainDictionary);
    host::releaseDictionary(t.ringDictionary);
    host::releaseDictionary(t.radioDictionary);
    for (int i = 0; i < ringTextureCount; ++i)
        t.ringSprites[i].texture = nullptr;
    for (int i : ringSpritesOfMainDictionary)
        t.ringSprites[i].texture = nullptr;
    for (auto& sprite : t.mainSprites)
        sprite.texture = nullptr;
    for (auto& sprite : t.radioSprites)
        sprite.texture = nullptr;
    for (auto& sprite : t.weaponWheelSprites)
        sprite.texture = nullptr;
    t.radioWheelSprite.texture = nullptr;
    host::releaseDictionary(t.phoneDictionary);
    t.phoneSprite.texture = nullptr;
    // Released dictionaries are gone: no drawer may search them until the next start.
    t.mainDictionary = t.ringDictionary = t.radioDictionary = t.phoneDictionary = nullptr;
}
