#pragma once
// Named setters and getters for the host state the plug-in reads; tests use these, not addresses.
#include "sim/sim.h"

#include <string>

namespace sim {

// A host texture: which dictionary it came from and its name.
struct Texture {
    std::string dictionary;
    std::string name;
};

// The host's sprite object: one texture pointer.
struct Sprite {
    const Texture* texture;
};

void setScreenSize(int width, int height);
void setClock(uint32_t milliseconds);
void advanceClock(uint32_t milliseconds);
void setTimeStep(float fiftieths);
void setFrameCounter(uint32_t frames);

// The four host bytes that gate drawing.
void setHudShown(bool shown); // the byte the HUD toggle flips
bool hudShown();
void setMenuActive(bool active); // host byte 0x6FAD68
void setHudSuppressed(bool on);  // host byte 0x95CD5B
void setMissionTimersShown(bool shown);

// Texture dictionaries, by file stem ("tarvel_iii", "ring_iii", "radio_iii", "phone_iii").
void removeDictionary(const std::string& stem);
void removeTexture(const std::string& stem, const std::string& name);
int loadCount(const std::string& stem);
int releaseCount(const std::string& stem);
const Texture* textureOf(uint32_t sprite);
std::string textureName(uint32_t sprite); // "dictionary/name", or "" for none

} // namespace sim
