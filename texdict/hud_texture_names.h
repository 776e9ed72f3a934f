#pragma once
// The HUD's four texture dictionaries and every texture name it looks up in them. The plug-in
// loads and searches by these, and texdict checks a modder's dictionaries against the same
// names, so this header holds plain constants and nothing of Windows.
#include <iterator>

// Under the game directory.
constexpr char mainDictionaryPath[] = "tarvel_moravik\\tarvel_iii.txd";
constexpr char ringDictionaryPath[] = "tarvel_moravik\\ring_iii.txd";
constexpr char radioDictionaryPath[] = "tarvel_moravik\\radio_iii.txd";
constexpr char phoneDictionaryPath[] = "tarvel_moravik\\phone_iii.txd";

// tarvel_iii.txd
constexpr char radarFrameTexture[] = "blrect";
constexpr char radarMaskTexture[] = "radarmask";
constexpr char barTexture[] = "bar";
constexpr char starTexture[] = "star";
constexpr char timerBarTexture[] = "timerbar";
constexpr char rocketSightTexture[] = "siterocket";
constexpr char pagerTexture[] = "pager";
constexpr char sniperSightTexture[] = "sitesniper";
constexpr char crosshairTexture[] = "siteM16";
// ring_iii.txd: besides these, the weapon slots' segments "0" to "12" ("%d").
constexpr int weaponSegmentCount = 13;
constexpr char wheelRingTexture[] = "sring";
constexpr char wheelSelectorTexture[] = "shl";
// radio_iii.txd: the stations' icons "0" to "11" ("%d"), in RADIO_NAMES order.
constexpr int radioIconCount = 12;
// phone_iii.txd
constexpr char phoneTexture[] = "phone";
constexpr char classicPhoneTexture[] = "phone_class"; // with RADAR_TYPE = 1

// Every name by dictionary, with what it shows, for the modders' messages.
struct LookedUpTexture {
    const char* name;
    const char* shows;
};
struct HudDictionaryNames {
    const char* path;
    const LookedUpTexture* named;
    int namedCount;
    int numberedCount;        // also "0" to numberedCount - 1
    const char* numberedShow; // what number %d shows
};

constexpr LookedUpTexture mainDictionaryTextures[] = {
    {radarFrameTexture, "the radar's frame"},
    {radarMaskTexture, "the radar's mask"},
    {barTexture, "the health and armour bars"},
    {starTexture, "the wanted stars"},
    {timerBarTexture, "the mission timers' bar"},
    {rocketSightTexture, "the rocket launcher's sight"},
    {pagerTexture, "the pager"},
    {sniperSightTexture, "the sniper scope"},
    {crosshairTexture, "the crosshair"},
};
constexpr LookedUpTexture ringDictionaryTextures[] = {
    {wheelRingTexture, "the weapon wheel's ring"},
    {wheelSelectorTexture, "the weapon wheel's selector"},
};
constexpr LookedUpTexture phoneDictionaryTextures[] = {
    {phoneTexture, "the phone"},
    {classicPhoneTexture, "the phone with RADAR_TYPE = 1"},
};

constexpr HudDictionaryNames hudDictionaries[] = {
    {mainDictionaryPath, mainDictionaryTextures, int(std::size(mainDictionaryTextures)), 0,
     nullptr},
    {ringDictionaryPath, ringDictionaryTextures, int(std::size(ringDictionaryTextures)),
     weaponSegmentCount, "the weapon wheel's segment of weapon slot %d"},
    {radioDictionaryPath, nullptr, 0, radioIconCount, "radio station %d's icon"},
    {phoneDictionaryPath, phoneDictionaryTextures, int(std::size(phoneDictionaryTextures)), 0,
     nullptr},
};
