#include "plugin/hud_textures.h"
#include "plugin/data_paths.h"

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

constexpr int ringTextureCount = 13;
constexpr int ringSpritesOfMainDictionary[] = {RocketSightSprite, PagerSprite, SniperSightSprite,
                                               CrosshairSprite};

void findNumbered(HostSprite* sprites, int count, HostDictionary dictionary) {
    char name[16];
    for (int i = 0; i < count; ++i) {
        std::snprintf(name, sizeof name, "%d", i);
        sprites[i].texture = host::findTexture(dictionary, name);
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
    auto& t = hudTextures;
    t.mainDictionary = host::loadDictionary(dataPath("tarvel_moravik\\tarvel_iii.txd"));
    t.ringDictionary = host::loadDictionary(dataPath("tarvel_moravik\\ring_iii.txd"));
    t.radioDictionary = host::loadDictionary(dataPath("tarvel_moravik\\radio_iii.txd"));

    const char* mainNames[] = {"blrect", "radarmask", "bar", "star", "timerbar"};
    for (int i = 0; i < 5; ++i)
        t.mainSprites[i].texture = host::findTexture(t.mainDictionary, mainNames[i]);
    findNumbered(t.ringSprites, ringTextureCount, t.ringDictionary);
    t.ringSprites[RocketSightSprite].texture = host::findTexture(t.mainDictionary, "siterocket");
    t.ringSprites[PagerSprite].texture = host::findTexture(t.mainDictionary, "pager");
    t.ringSprites[SniperSightSprite].texture = host::findTexture(t.mainDictionary, "sitesniper");
    t.ringSprites[CrosshairSprite].texture = host::findTexture(t.mainDictionary, "siteM16");
    findNumbered(t.radioSprites, 12, t.radioDictionary);

    t.phoneDictionary = host::loadDictionary(dataPath("tarvel_moravik\\phone_iii.txd"));
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
