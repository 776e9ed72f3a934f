#pragma once
// The game as the plug-in sees it: its routines and data by role. Only this interface and the
// address table know where anything lives in the game.
#include "config/ini_reader.h"
#include "host/calling_convention.h"
#include "host/game_version.h"
#include "host/host_addresses.h"

#include <cstdint>

// The game's sprite object: one pointer to its texture.
struct HostSprite {
    void* texture;
};

// A rectangle as the game's sprite routine takes it, in pixels.
struct ScreenRect {
    float left, bottom, right, top;
};

// Four corner points handed to the game's four-corner sprite routine, in this order.
struct ScreenQuad {
    float x1, y1, x2, y2, x3, y3, x4, y4;
};

using HostDictionary = void*;

namespace host {

// The address table of the running build (all zero for an unknown build).
const HostAddresses& addresses();
// True when every address the plug-in uses is known for the running build.
bool fullyKnown();

// Game data at a build's fixed address; routines and most data are used where the table says.
template <class T> T& global(uint32_t HostAddresses::*field) {
    return *reinterpret_cast<T*>(addresses().*field);
}
// Data that moves with the game module (per-build references).
template <class T> T& movedGlobal(uint32_t HostAddresses::*field) {
    return *reinterpret_cast<T*>(adjustAddress(addresses().*field));
}

template <class R, class... A> R call(uint32_t HostAddresses::*routine, A... args) {
    using Routine = R(HOST_CDECL*)(A...);
    return reinterpret_cast<Routine>(addresses().*routine)(args...);
}
template <class R, class... A>
R callMethod(uint32_t HostAddresses::*routine, void* object, A... args) {
    using Method = R(HOST_THISCALL*)(void*, A...);
    return reinterpret_cast<Method>(addresses().*routine)(object, args...);
}

// Screen and time.
inline int32_t screenWidthPixels() {
    return global<int32_t>(&HostAddresses::screenWidth);
}
inline int32_t screenHeightPixels() {
    return global<int32_t>(&HostAddresses::screenHeight);
}
inline float screenWidth() {
    return static_cast<float>(screenWidthPixels());
}
inline float screenHeight() {
    return static_cast<float>(screenHeightPixels());
}
inline uint32_t gameClock() {
    return movedGlobal<uint32_t>(&HostAddresses::gameClock);
}
// The frame's time step in fiftieths of a second.
inline float frameTick() {
    return movedGlobal<float>(&HostAddresses::frameTimeStep);
}
// The frame's duration in milliseconds.
inline float frameMilliseconds() {
    return frameTick() / 50.0f * 1000.0f;
}
inline uint32_t frameCounter() {
    return movedGlobal<uint32_t>(&HostAddresses::frameCounter);
}

// The drawing gates.
uint8_t& hudShownByte(); // the byte the HUD toggle flips
inline bool menuShown() {
    return global<uint8_t>(&HostAddresses::menuShown) != 0;
}
inline bool hudSuppressed() {
    return global<uint8_t>(&HostAddresses::hudSuppressed) != 0;
}
inline bool missionTimersShown() {
    return global<uint8_t>(&HostAddresses::missionTimersShown) != 0;
}

// Text state: global to the game, used by the next print.
void setTextScale(float x, float y);
void setTextColour(const Rgba& colour);
void setTextBackgroundColour(const Rgba& colour);
void setDropShadowColour(const Rgba& colour);
void setFont(int font);
void setDropShadowOffset(int offset);
void setRightJustifyOn();
void setCentreOn();
void setCentreWidth(float width);
void setWrapWidth(float width);
void setRightJustifyWidth(float width);
void setTextAlpha(float alpha);
// Argument-less text mode switches; what each does is the game's business.
void textSwitch1C80();
void textSwitch1CB0();
void textSwitch1CE0();
void textSwitch1CF0();
void textSwitch1D30();
void textSwitch1D40();
void textSwitch1D70();
void textSwitch1D90();
void textSwitch1DA0();
void asciiToHostText(const char* source, char16_t* destination);
void printHostText(float x, float y, const char16_t* text);
int hostTextLength(const char16_t* text);
void hostTextCopy(char16_t* destination, const char16_t* source, int length);
bool hostTextEqual(const char16_t* a, const char16_t* b, int length);
const char16_t* lookupText(const char* key);

// Sprites and textures.
void constructSprite(HostSprite& sprite);
void destroySprite(HostSprite& sprite);
void drawSprite(HostSprite& sprite, const ScreenRect& rect, const Rgba& colour);
void drawSpriteQuad(HostSprite& sprite, const ScreenQuad& quad, const Rgba& colour);
void drawTintedSprite(float x, float y, float z, float width, float height, uint8_t r, uint8_t g,
                      uint8_t b, int16_t intensity, float recipZ, uint8_t alpha);
void drawPlainRectangle(const ScreenRect& rect, const Rgba& colour);
HostDictionary loadDictionary(const char* path);
void releaseDictionary(HostDictionary dictionary);
void* findTexture(HostDictionary dictionary, const char* name);
void setRenderState(int state, uint32_t value);
void fillVertices(int count, const float* screenPoints);
void drawPrimitive(int type, void* vertices, int count);
inline void* vertexBuffer() {
    return reinterpret_cast<void*>(addresses().vertexBuffer);
}

// Radar routines of the game, drawn around the plug-in's radar frame.
void radarDrawBlips();
void radarDrawMap();
void radarDrawSprites();

// Player, vehicle, pads, sound.
uint8_t* playerActor(); // null without a player
uint8_t* playerVehicle();
uint8_t* weaponInfo(int weaponType);
bool ammoHidden();
uint8_t* pad(int number);
int padQuery(uint8_t* pad);
void playSound(int sound, int argument);
void setRadioStation(int station);

// The player actor's 13 weapon records (24 bytes each, the weapon type first), the index of the
// current one, and the radio station of the player's vehicle.
constexpr int weaponRecordCount = 13;
inline int32_t weaponTypeOfRecord(const uint8_t* actor, int record) {
    return *reinterpret_cast<const int32_t*>(actor + 0x35C + 24 * record);
}
inline int currentWeaponRecord(const uint8_t* actor) {
    return actor[0x498];
}
inline int8_t vehicleRadioStation(const uint8_t* vehicle) {
    return static_cast<int8_t>(vehicle[0x229]);
}
inline bool radioAvailable() {
    return global<uint8_t>(&HostAddresses::radioAvailable) != 0;
}
// The mouse wheel was turned this frame, up or down.
inline bool mouseWheelTurned() {
    return global<uint8_t>(&HostAddresses::wheelUp) != 0 ||
           global<uint8_t>(&HostAddresses::wheelDown) != 0;
}

// Rounds of a weapon record: in the magazine, and in all.
inline uint32_t roundsInMagazine(const uint8_t* actor, int record) {
    return *reinterpret_cast<const uint32_t*>(actor + 0x35C + 24 * record + 8);
}
inline uint32_t roundsInTotal(const uint8_t* actor, int record) {
    return *reinterpret_cast<const uint32_t*>(actor + 0x35C + 24 * record + 0xC);
}
inline uint32_t magazineSize(int weaponType) {
    return *reinterpret_cast<const uint32_t*>(weaponInfo(weaponType) + 0x10);
}
// The actor's wanted record: the level and the game time it last changed.
inline const uint8_t* wantedRecord(const uint8_t* actor) {
    return *reinterpret_cast<const uint8_t* const*>(actor + 0x53C);
}
inline uint32_t wantedLevel(const uint8_t* actor) {
    return *reinterpret_cast<const uint32_t*>(wantedRecord(actor) + 0x18);
}
inline uint32_t wantedLevelChangedAt(const uint8_t* actor) {
    return *reinterpret_cast<const uint32_t*>(wantedRecord(actor) + 8);
}
// The current player's cash, from the player records.
inline int32_t playerCash() {
    const uint8_t index = global<uint8_t>(&HostAddresses::currentPlayer);
    return *reinterpret_cast<const int32_t*>(addresses().playerRecords + 0x13C * index);
}

// The player actor's state byte.
inline uint8_t actorState(const uint8_t* actor) {
    return actor[0x160];
}
// The game's fixed array of camera records (0x1A4 bytes each) and the index of the active one.
constexpr int cameraCount = 3;
inline uint8_t activeCameraIndex() {
    return global<uint8_t>(&HostAddresses::activeCamera);
}
inline const uint8_t* cameraRecord(int index) {
    return reinterpret_cast<const uint8_t*>(addresses().cameras + 0x1A4 * index);
}
inline int16_t cameraMode(const uint8_t* camera) {
    return *reinterpret_cast<const int16_t*>(camera + 0xC);
}
inline const uint8_t* cameraTarget(const uint8_t* camera) {
    return *reinterpret_cast<const uint8_t* const*>(camera + 0x188);
}
// Where the game aims, as fractions of the screen width and height.
inline float aimPointX() {
    return global<float>(&HostAddresses::aimPointX);
}
inline float aimPointY() {
    return global<float>(&HostAddresses::aimPointY);
}
inline bool mouseAimEnabled() {
    return global<uint8_t>(&HostAddresses::mouseAimEnabled) != 0;
}
inline bool aimingWithMouse() {
    return global<uint8_t>(&HostAddresses::aimingWithMouse) != 0;
}
// Frames the crosshair has been drawn in a row; the game reads it too.
inline int32_t& crosshairStrength() {
    return global<int32_t>(&HostAddresses::crosshairStrength);
}
// The button that toggles the HUD, in a pad's current and previous state.
inline bool hudToggleButtonDown(const uint8_t* pad) {
    return *reinterpret_cast<const int16_t*>(pad + 0x18) != 0;
}
inline bool hudToggleButtonWasDown(const uint8_t* pad) {
    return *reinterpret_cast<const int16_t*>(pad + 0x42) != 0;
}
// A texture's raster: its first field.
inline uint32_t textureRaster(const void* texture) {
    return *static_cast<const uint32_t*>(texture);
}
// The time of day in the game world.
inline uint8_t clockHour() {
    return movedGlobal<uint8_t>(&HostAddresses::clockHours);
}
inline uint8_t clockMinute() {
    return movedGlobal<uint8_t>(&HostAddresses::clockMinutes);
}

} // namespace host
