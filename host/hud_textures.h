#pragma once
// The HUD's own texture dictionaries and the game sprites that draw them.
#include "host/host_interface.h"

// Indices into the sprite sets; a drawer names its sprite by set and index.
enum MainSprite {
    RadarFrameSprite = 0,
    RadarMaskSprite = 1,
    BarSprite = 2,
    StarSprite = 3,
    TimerBarSprite = 4
};
enum RingSprite {
    RocketSightSprite = 14,
    PagerSprite = 16,
    SniperSightSprite = 20,
    CrosshairSprite = 21
};

struct HudTextures {
    HostDictionary mainDictionary;
    HostDictionary ringDictionary;
    HostDictionary radioDictionary;
    HostDictionary phoneDictionary;
    HostSprite mainSprites[5];
    HostSprite ringSprites[22];
    HostSprite radioSprites[12];
    HostSprite radioWheelSprite;
    HostSprite weaponWheelSprites[2];
    HostSprite phoneSprite;
    bool dictionariesHeld; // loaded and not yet released
};

extern HudTextures hudTextures;

// At plug-in load and unload: the game constructs and destroys every sprite object.
void constructHudSprites();
void destroyHudSprites();
// At game start: loads the four dictionaries and fills the sprites. Dictionaries still held
// from an earlier start are released first.
void loadHudTextures();
// At game shutdown: releases the dictionaries and clears every sprite's texture.
void releaseHudTextures();
