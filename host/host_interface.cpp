#include "host/host_interface.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <initializer_list>

namespace host {

namespace {
// The game has no use for a coordinate, size or alpha that is not a finite number and may not
// survive one: a call carrying one is left out. Settings can hold any number at all.
bool allFinite(std::initializer_list<float> values) {
    for (float value : values)
        if (!std::isfinite(value)) return false;
    return true;
}

// The game's text buffers hold a few thousand characters: no text longer than this reaches it,
// whatever a settings file holds. A surrogate pair is never cut in two.
constexpr size_t longestGameText = 4095;
char16_t capped16[longestGameText + 1];
char capped8[longestGameText + 1];

const char16_t* capped(const char16_t* text) {
    if (!text) return text;
    size_t length = 0;
    while (length <= longestGameText && text[length] != 0)
        ++length;
    if (length <= longestGameText) return text;
    length = longestGameText;
    if (text[length - 1] >= 0xD800 && text[length - 1] < 0xDC00) --length;
    std::copy_n(text, length, capped16);
    capped16[length] = 0;
    return capped16;
}

const char* capped(const char* text) {
    if (!text) return text;
    const size_t length = strnlen(text, longestGameText + 1);
    if (length <= longestGameText) return text;
    std::copy_n(text, longestGameText, capped8);
    capped8[longestGameText] = 0;
    return capped8;
}
} // namespace

const HostAddresses& addresses() {
    switch (gameVersion()) {
    case GameVersion::Build100:
        return build100Addresses;
    case GameVersion::Build110:
        return build110Addresses;
    case GameVersion::Build120:
        return build120Addresses;
    default:
        return unknownBuildAddresses;
    }
}

bool fullyKnown() {
    // The build never changes once detected, so neither does the answer.
    static const bool known = [] {
        const auto* field = reinterpret_cast<const uint32_t*>(&addresses());
        for (size_t i = 0; i < sizeof(HostAddresses) / sizeof(uint32_t); ++i)
            if (field[i] == 0) return false;
        return true;
    }();
    return known;
}

uint8_t& hudShownByte() {
    return global<uint8_t>(&HostAddresses::hudShown);
}

void setTextScale(float x, float y) {
    if (!allFinite({x, y})) return;
    call<void>(&HostAddresses::textScale, x, y);
}
void setTextColour(const Rgba& colour) {
    call<void>(&HostAddresses::textColour, &colour);
}
void setTextBackgroundColour(const Rgba& colour) {
    call<void>(&HostAddresses::textBackgroundColour, &colour);
}
void setDropShadowColour(const Rgba& colour) {
    call<void>(&HostAddresses::textDropShadowColour, &colour);
}
void setFont(int font) {
    call<void>(&HostAddresses::textFont, font);
}
void setDropShadowOffset(int offset) {
    call<void>(&HostAddresses::textDropShadowOffset, offset);
}
void setRightJustifyOn() {
    call<void>(&HostAddresses::textRightJustifyOn);
}
void setCentreOn() {
    call<void>(&HostAddresses::textCentreOn);
}
void setCentreWidth(float width) {
    if (!allFinite({width})) return;
    call<void>(&HostAddresses::textCentreWidth, width);
}
void setWrapWidth(float width) {
    if (!allFinite({width})) return;
    call<void>(&HostAddresses::textWrapWidth, width);
}
void setRightJustifyWidth(float width) {
    if (!allFinite({width})) return;
    call<void>(&HostAddresses::textRightJustifyWidth, width);
}
void setTextAlpha(float alpha) {
    if (!allFinite({alpha})) return;
    call<void>(&HostAddresses::textAlpha, alpha);
}
void textSwitch1C80() {
    call<void>(&HostAddresses::textSwitch1C80);
}
void textSwitch1CB0() {
    call<void>(&HostAddresses::textSwitch1CB0);
}
void textSwitch1CE0() {
    call<void>(&HostAddresses::textSwitch1CE0);
}
void textSwitch1CF0() {
    call<void>(&HostAddresses::textSwitch1CF0);
}
void textSwitch1D30() {
    call<void>(&HostAddresses::textSwitch1D30);
}
void textSwitch1D40() {
    call<void>(&HostAddresses::textSwitch1D40);
}
void textSwitch1D70() {
    call<void>(&HostAddresses::textSwitch1D70);
}
void textSwitch1D90() {
    call<void>(&HostAddresses::textSwitch1D90);
}
void textSwitch1DA0() {
    call<void>(&HostAddresses::textSwitch1DA0);
}
void asciiToHostText(const char* source, char16_t* destination) {
    call<void>(&HostAddresses::asciiToHostText, capped(source), destination);
}
void printHostText(float x, float y, const char16_t* text) {
    if (!allFinite({x, y})) return;
    call<void>(&HostAddresses::printHostText, x, y, capped(text));
}
int hostTextLength(const char16_t* text) {
    return call<int>(&HostAddresses::hostTextLength, text);
}
void hostTextCopy(char16_t* destination, const char16_t* source, int length) {
    call<void>(&HostAddresses::hostTextCopy, destination, source, length);
}
bool hostTextEqual(const char16_t* a, const char16_t* b, int length) {
    return (call<uint32_t>(&HostAddresses::hostTextEqual, a, b, length) & 0xFF) != 0;
}
const char16_t* lookupText(const char* key) {
    return callMethod<const char16_t*>(&HostAddresses::lookupText,
                                       reinterpret_cast<void*>(addresses().textTable), capped(key));
}

void constructSprite(HostSprite& sprite) {
    callMethod<void>(&HostAddresses::spriteConstruct, &sprite);
}
void destroySprite(HostSprite& sprite) {
    callMethod<void>(&HostAddresses::spriteDestroy, &sprite);
}
void drawSprite(HostSprite& sprite, const ScreenRect& rect, const Rgba& colour) {
    if (!allFinite({rect.left, rect.bottom, rect.right, rect.top})) return;
    callMethod<void>(&HostAddresses::spriteDrawRect, &sprite, &rect, &colour);
}
void drawSpriteQuad(HostSprite& sprite, const ScreenQuad& q, const Rgba& colour) {
    if (!allFinite({q.x1, q.y1, q.x2, q.y2, q.x3, q.y3, q.x4, q.y4})) return;
    callMethod<void>(&HostAddresses::spriteDrawQuad, &sprite, q.x1, q.y1, q.x2, q.y2, q.x3, q.y3,
                     q.x4, q.y4, &colour);
}
void drawTintedSprite(float x, float y, float z, float width, float height, uint8_t r, uint8_t g,
                      uint8_t b, int16_t intensity, float recipZ, uint8_t alpha) {
    if (!allFinite({x, y, z, width, height, recipZ})) return;
    call<void>(&HostAddresses::spriteDrawTinted, x, y, z, width, height, r, g, b, intensity, recipZ,
               alpha);
}
void drawPlainRectangle(const ScreenRect& rect, const Rgba& colour) {
    if (!allFinite({rect.left, rect.bottom, rect.right, rect.top})) return;
    call<void>(&HostAddresses::plainRectangle, &rect, &colour);
}
HostDictionary loadDictionary(const char* path) {
    return call<HostDictionary>(&HostAddresses::loadDictionary, path);
}
// A dictionary the game failed to load is null; the game's own routines would not survive it.
void releaseDictionary(HostDictionary dictionary) {
    if (dictionary) call<void>(&HostAddresses::releaseDictionary, dictionary);
}
void* findTexture(HostDictionary dictionary, const char* name) {
    return dictionary ? call<void*>(&HostAddresses::findTexture, dictionary, capped(name))
                      : nullptr;
}
void setRenderState(int state, uint32_t value) {
    call<void>(&HostAddresses::setRenderState, state, value);
}
void fillVertices(int count, const float* screenPoints) {
    for (int i = 0; i < 2 * count; ++i)
        if (!std::isfinite(screenPoints[i])) return;
    call<void>(&HostAddresses::fillVertices, count, screenPoints);
}
void drawPrimitive(int type, void* vertices, int count) {
    call<void>(&HostAddresses::drawPrimitive, type, vertices, count);
}

void radarDrawBlips() {
    call<void>(&HostAddresses::radarDrawBlips);
}
void radarDrawMap() {
    call<void>(&HostAddresses::radarDrawMap);
}
void radarDrawSprites() {
    call<void>(&HostAddresses::radarDrawSprites);
}

uint8_t* playerActor() {
    return call<uint8_t*>(&HostAddresses::playerActor);
}
uint8_t* playerVehicle() {
    return call<uint8_t*>(&HostAddresses::playerVehicle);
}
uint8_t* weaponInfo(int weaponType) {
    return call<uint8_t*>(&HostAddresses::weaponInfo, weaponType);
}
bool ammoHidden() {
    return (call<uint32_t>(&HostAddresses::ammoHiddenPredicate) & 0xFF) != 0;
}
uint8_t* pad(int number) {
    return call<uint8_t*>(&HostAddresses::padByNumber, number);
}
int padQuery(uint8_t* padRecord) {
    return callMethod<int>(&HostAddresses::padQuery, padRecord);
}
void playSound(int sound, int argument) {
    callMethod<void>(&HostAddresses::playSound, reinterpret_cast<void*>(addresses().soundManager),
                     sound, argument);
}
void setRadioStation(int station) {
    callMethod<void>(&HostAddresses::setRadioStation,
                     reinterpret_cast<void*>(addresses().soundManager), station);
}

} // namespace host
