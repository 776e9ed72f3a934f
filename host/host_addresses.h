#pragma once
// Every game address the plug-in uses, one table per supported build, written for the game's
// nominal image base 0x400000. A field left 0 is not known for that build; a feature runs on a
// build only when every address it touches is known there.
#include <cstdint>

struct HostAddresses {
    // Build signature: the first bytes of a routine only this build has there.
    uint32_t versionProbe;

    // CALL instructions taken over, one per host event.
    uint32_t startCall, hudDrawCall, phoneDrawCall, radarSetupCall, shutdownCall, reloadKeyCall;

    // Data that moves between builds.
    uint32_t gameClock;         // uint32 milliseconds
    uint32_t frameTimeStep;     // float, fiftieths of a second
    uint32_t frameCounter;      // uint32
    uint32_t smallHelpTextFlag; // byte
    uint32_t helpBoxHiddenFlag; // byte
    uint32_t clockHours;        // byte
    uint32_t clockMinutes;      // byte
    uint32_t largeMissionTitle; // byte

    // Code switched off every frame: two routines made to return, two bytes made NOPs.
    uint32_t hostHudRoutineA, hostHudRoutineB, hostHudByteA, hostHudByteB;

    // Radar routines replaced wholesale.
    uint32_t radarMaskFans, radarToScreen, radarLimit;

    // Routines.
    uint32_t spriteConstruct, spriteDestroy, spriteDrawRect, spriteDrawQuad, spriteDrawTinted;
    uint32_t plainRectangle, fillVertices, drawPrimitive, setRenderState;
    uint32_t loadDictionary, releaseDictionary, findTexture;
    uint32_t textScale, textColour, textBackgroundColour, textDropShadowColour, textFont;
    uint32_t textDropShadowOffset, textRightJustifyOn, textCentreOn, textCentreWidth;
    uint32_t textWrapWidth, textRightJustifyWidth, textAlpha;
    uint32_t textSwitch1C80, textSwitch1CB0, textSwitch1CE0, textSwitch1CF0, textSwitch1D30;
    uint32_t textSwitch1D40, textSwitch1D70, textSwitch1D90, textSwitch1DA0;
    uint32_t asciiToHostText, printHostText, hostTextLength, hostTextCopy, hostTextEqual;
    uint32_t lookupText, playSound, setRadioStation;
    uint32_t playerActor, playerVehicle, weaponInfo, ammoHiddenPredicate, padByNumber, padQuery;
    uint32_t radarDrawBlips, radarDrawMap, radarDrawSprites;

    // Objects and globals.
    uint32_t screenWidth, screenHeight; // int32 pixels
    uint32_t hudShown;                  // byte, the HUD toggle
    uint32_t menuShown;                 // byte
    uint32_t hudSuppressed;             // byte
    uint32_t missionTimersShown;        // byte
    uint32_t textTable, soundManager;   // host objects
    uint32_t playerRecords, currentPlayer, radarPlayerActor;
    uint32_t wheelUp, wheelDown; // bytes, mouse wheel turned this frame
    uint32_t radioAvailable;     // byte
    uint32_t ammoCentreDivisor;  // float
    uint32_t messageSlots, messageHold, messageSlide, messageOpacity;
    uint32_t resultStep, resultPosition, resultByte, resultDelay;
    uint32_t subtitleText, subtitlesWithMenu;
    uint32_t helpText, helpLastSeen, helpDisplayed, helpState, helpTimer, helpFade, helpDuration;
    uint32_t helpSoundGate, helpShortened;
    uint32_t pagerText, pagerStep, pagerBeeped, pagerOffset;
    uint32_t areaName, vehicleName, noAreaSeen, textSizeSetting;
    uint32_t areaStateSeed, areaTimerSeed, vehicleLastSeed, vehicleStateSeed, vehicleTimerSeed;
    uint32_t missionTimerRecord; // timer key; the rest of the record follows it
    uint32_t timerSeen, timerBlink, counterSeen, counterBlink;
    uint32_t radarFlashingItem, radarSpritesGate;
    uint32_t crosshairStrength, activeCamera, cameras, aimPointX, aimPointY;
    uint32_t mouseAimEnabled, aimingWithMouse;
    uint32_t vertexBuffer;
};

inline constexpr HostAddresses build100Addresses{
    .versionProbe = 0x5C1E70,
    .startCall = 0x48D52F,
    .hudDrawCall = 0x48E420,
    .phoneDrawCall = 0x48E126,
    .radarSetupCall = 0x50838D,
    .shutdownCall = 0x48D540,
    .reloadKeyCall = 0x48E49B,
    .gameClock = 0x885B48,
    .frameTimeStep = 0x8E2CB4,
    .frameCounter = 0x9412EC,
    .smallHelpTextFlag = 0x95CD1E,
    .helpBoxHiddenFlag = 0x95CD7C,
    .clockHours = 0x95CDA6,
    .clockMinutes = 0x95CDC8,
    .largeMissionTitle = 0x95CDCB,
    .hostHudRoutineA = 0x5052A0,
    .hostHudRoutineB = 0x509030,
    .hostHudByteA = 0x57E954,
    .hostHudByteB = 0x57E93E,
    .radarMaskFans = 0x4A69C0,
    .radarToScreen = 0x4A5040,
    .radarLimit = 0x4A4F30,
    .spriteConstruct = 0x51E9E0,
    .spriteDestroy = 0x51E9F0,
    .spriteDrawRect = 0x51ED50,
    .spriteDrawQuad = 0x51EE40,
    .spriteDrawTinted = 0x51C960,
    .plainRectangle = 0x51F970,
    .fillVertices = 0x51F490,
    .drawPrimitive = 0x5A4430,
    .setRenderState = 0x5A43C0,
    .loadDictionary = 0x4765B0,
    .releaseDictionary = 0x5A7200,
    .findTexture = 0x5A74D0,
    .textScale = 0x501B80,
    .textColour = 0x501BD0,
    .textBackgroundColour = 0x501D00,
    .textDropShadowColour = 0x501DE0,
    .textFont = 0x501DB0,
    .textDropShadowOffset = 0x501E70,
    .textRightJustifyOn = 0x501D50,
    .textCentreOn = 0x501C90,
    .textCentreWidth = 0x501CD0,
    .textWrapWidth = 0x501CC0,
    .textRightJustifyWidth = 0x501DC0,
    .textAlpha = 0x501DD0,
    .textSwitch1C80 = 0x501C80,
    .textSwitch1CB0 = 0x501CB0,
    .textSwitch1CE0 = 0x501CE0,
    .textSwitch1CF0 = 0x501CF0,
    .textSwitch1D30 = 0x501D30,
    .textSwitch1D40 = 0x501D40,
    .textSwitch1D70 = 0x501D70,
    .textSwitch1D90 = 0x501D90,
    .textSwitch1DA0 = 0x501DA0,
    .asciiToHostText = 0x5009C0,
    .printHostText = 0x500F50,
    .hostTextLength = 0x529490,
    .hostTextCopy = 0x5294B0,
    .hostTextEqual = 0x529510,
    .lookupText = 0x52BFB0,
    .playSound = 0x57E2E0,
    .setRadioStation = 0x57D2C0,
    .playerActor = 0x4A1150,
    .playerVehicle = 0x4A10C0,
    .weaponInfo = 0x564FD0,
    .ammoHiddenPredicate = 0x420E60,
    .padByNumber = 0x492F60,
    .padQuery = 0x493320,
    .radarDrawBlips = 0x4A4200,
    .radarDrawMap = 0x4A42F0,
    .radarDrawSprites = 0x4A4C70,
    .screenWidth = 0x8F4364,
    .screenHeight = 0x8F4368,
    .hudShown = 0x95CD89,
    .menuShown = 0x6FAD68,
    .hudSuppressed = 0x95CD5B,
    .missionTimersShown = 0x8622AC,
    .textTable = 0x941520,
    .soundManager = 0x8F3964,
    .playerRecords = 0x9413A0,
    .currentPlayer = 0x95CD61,
    .radarPlayerActor = 0x9412F0,
    .wheelUp = 0x8809F3,
    .wheelDown = 0x8809F4,
    .radioAvailable = 0x64D061,
    .ammoCentreDivisor = 0x5F53C0,
    .messageSlots = 0x664CE0,
    .messageHold = 0x862140,
    .messageSlide = 0x773248,
    .messageOpacity = 0x862158,
    .resultStep = 0x95CC78,
    .resultPosition = 0x8F1B5C,
    .resultByte = 0x95CC52,
    .resultDelay = 0x942FA0,
    .subtitleText = 0x72E318,
    .subtitlesWithMenu = 0x5F2E54,
    .helpText = 0x86B888,
    .helpLastSeen = 0x6E8F28,
    .helpDisplayed = 0x664480,
    .helpState = 0x880E1C,
    .helpTimer = 0x880FA4,
    .helpFade = 0x8F6258,
    .helpDuration = 0x8E2C28,
    .helpSoundGate = 0x6FAE48,
    .helpShortened = 0x95CCF7,
    .pagerText = 0x878840,
    .pagerStep = 0x95CCA0,
    .pagerBeeped = 0x95CC4A,
    .pagerOffset = 0x941590,
    .areaName = 0x8E2C2C,
    .vehicleName = 0x942FB4,
    .noAreaSeen = 0x8F432C,
    .textSizeSetting = 0x941238,
    .areaStateSeed = 0x8F29AC,
    .areaTimerSeed = 0x8F1A50,
    .vehicleLastSeed = 0x8E2DD8,
    .vehicleStateSeed = 0x940560,
    .vehicleTimerSeed = 0x8F2A14,
    .missionTimerRecord = 0x862240,
    .timerSeen = 0x95CDA7,
    .timerBlink = 0x95CC6C,
    .counterSeen = 0x95CD67,
    .counterBlink = 0x95CC20,
    .radarFlashingItem = 0x95CC82,
    .radarSpritesGate = 0x95CD62,
    .crosshairStrength = 0x95CC54,
    .activeCamera = 0x6FAD6E,
    .cameras = 0x6FAE9C,
    .aimPointX = 0x6FAE94,
    .aimPointY = 0x6FAE98,
    .mouseAimEnabled = 0x5F03D8,
    .aimingWithMouse = 0x6FAD52,
    .vertexBuffer = 0x6E9168,
};

// Builds 110 and 120: only what is known of them so far.
inline constexpr HostAddresses build110Addresses{
    .versionProbe = 0x5C2130,
    .startCall = 0x48D62F,
    .hudDrawCall = 0x48E4E0,
    .phoneDrawCall = 0x48E1E6,
    .radarSetupCall = 0x50846D,
    .shutdownCall = 0x48D640,
    .reloadKeyCall = 0x48E55B,
    .gameClock = 0x885AF8,
    .frameTimeStep = 0x8E2D68,
    .frameCounter = 0x9414A4,
    .smallHelpTextFlag = 0x95CED6,
    .helpBoxHiddenFlag = 0x95CF34,
    .clockHours = 0x95CF5F,
    .clockMinutes = 0x95CF80,
    .largeMissionTitle = 0x95CF83,
};

inline constexpr HostAddresses build120Addresses{
    .versionProbe = 0x5C6FD0,
    .startCall = 0x48D5BF,
    .hudDrawCall = 0x48E470,
    .phoneDrawCall = 0x48E176,
    .radarSetupCall = 0x5083FD,
    .shutdownCall = 0x48D5D0,
    .reloadKeyCall = 0x48E4EB,
    .gameClock = 0x895C38,
    .frameTimeStep = 0x8F2EA8,
    .frameCounter = 0x9515E4,
    .smallHelpTextFlag = 0x96D016,
    .helpBoxHiddenFlag = 0x96D074,
    .clockHours = 0x96D09F,
    .clockMinutes = 0x96D0C0,
    .largeMissionTitle = 0x96D0C3,
};

inline constexpr HostAddresses unknownBuildAddresses{};
