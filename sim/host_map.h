#pragma once
// Where the simulated game keeps its routines and data (build-100 layout unless noted).
#include <cstdint>

namespace sim::host {

// Routines.
constexpr uint32_t spriteConstructor = 0x51E9E0;
constexpr uint32_t spriteDestructor = 0x51E9F0;
constexpr uint32_t spriteDrawRect = 0x51ED50;
constexpr uint32_t spriteDrawQuad = 0x51EE40;
constexpr uint32_t dictionaryLoad = 0x4765B0;
constexpr uint32_t dictionaryRelease = 0x5A7200;
constexpr uint32_t textureFind = 0x5A74D0;
constexpr uint32_t renderStateSet = 0x5A43C0;
constexpr uint32_t playerActorGet = 0x4A1150;
constexpr uint32_t textScale = 0x501B80;
constexpr uint32_t textColour = 0x501BD0;
constexpr uint32_t textBackgroundColour = 0x501D00;
constexpr uint32_t textDropShadowColour = 0x501DE0;
constexpr uint32_t textFont = 0x501DB0;
constexpr uint32_t textDropShadowOffset = 0x501E70;
constexpr uint32_t textRightJustifyOn = 0x501D50;
constexpr uint32_t textCentreOn = 0x501C90;
constexpr uint32_t textCentreWidth = 0x501CD0;
constexpr uint32_t textWrapWidth = 0x501CC0;
constexpr uint32_t textRightJustifyWidth = 0x501DC0;
constexpr uint32_t textAlpha = 0x501DD0;
constexpr uint32_t textAsciiToHost = 0x5009C0;
constexpr uint32_t textPrint = 0x500F50;

// Data.
constexpr uint32_t screenWidth = 0x8F4364;
constexpr uint32_t screenHeight = 0x8F4368;
constexpr uint32_t hudShownByte = 0x95CD89;
constexpr uint32_t menuByte = 0x6FAD68;
constexpr uint32_t hudSuppressedByte = 0x95CD5B;
constexpr uint32_t missionTimersShownByte = 0x8622AC;

// Per-build data: builds 100, 110, 120.
constexpr uint32_t clock[3] = {0x885B48, 0x885AF8, 0x895C38};
constexpr uint32_t timeStep[3] = {0x8E2CB4, 0x8E2D68, 0x8F2EA8};
constexpr uint32_t frameCounter[3] = {0x9412EC, 0x9414A4, 0x9515E4};

} // namespace sim::host
