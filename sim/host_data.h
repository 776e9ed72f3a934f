#pragma once
// Named setters and getters for the host state the plug-in reads; tests use these, not addresses.
#include "sim/sim.h"

#include <string>
#include <vector>

namespace sim {

// A host texture: which dictionary it came from, its name as the file stores it, and its
// pixels (rows from the top, R, G, B, A).
struct Texture {
    std::string dictionary;
    std::string name;
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgba;
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

// Texture dictionaries, by file stem ("tarvel_iii", "ring_iii", "radio_iii", "phone_iii"). The
// game's loader reads the file it is given, named in 8-bit text of the system code page as the
// game names it; a missing or unreadable file gives a dictionary without textures. A removed
// dictionary fails to load at all; a removed texture is not found.
void removeDictionary(const std::string& stem);
void removeTexture(const std::string& stem, const std::string& name);
int loadCount(const std::string& stem);
int releaseCount(const std::string& stem);
const Texture* textureOf(uint32_t sprite);
std::string textureName(uint32_t sprite); // "dictionary/name", or "" for none

} // namespace sim

namespace sim {

// The player: actor record, player record, weapons, vehicle and pads.
void setPlayerPresent(bool present); // the actor routine returns null when absent
uint32_t playerActorAddress();
void setCash(int32_t cash);
void setWantedLevel(uint32_t level, uint32_t changedAt);
// Weapon record 0..12: type, rounds in the magazine, total rounds.
void setWeapon(int record, int32_t type, uint32_t clip = 0, uint32_t total = 0);
void setCurrentWeapon(int record);
void setMagazineSize(int weaponType, uint32_t size);
void setAmmoHidden(bool hidden); // the game's own reason not to show ammunition
void setPlayerStateByte(uint8_t state);
void setHealth(float health);
void setArmour(float armour);
// The player's vehicle: none, or one tuned to a radio station.
void setVehicle(bool present, int8_t station = 0);
void setRadioAvailable(bool available);
void setMouseWheel(bool up, bool down);
// Pad 1's toggle button (current and previous state) and pad 0's query result.
void setToggleButton(bool now, bool before);
void setPadQueryResult(int result);

} // namespace sim

namespace sim {

// Texts the game posts (16-bit in the game; given here as 8-bit, widened unsigned).
void setMessage(int slot, const std::string& text); // big-message slots 0..5, "" clears
std::u16string message(int slot);
void setSubtitle(const std::string& text);
std::u16string hostTextAt(uint32_t address);
void writeHostText(uint32_t address, const std::string& text);

} // namespace sim
