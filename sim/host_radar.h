#pragma once
// The game's radar and the HUD code the plug-in switches off: where they live, and named
// access for tests.
#include "sim/sim.h"

#include <cstdint>
#include <vector>

namespace sim {

// Routines the plug-in replaces with JMPs (the radar) or makes return at once (the HUD).
constexpr uint32_t radarToScreenRoutine = 0x4A5040;
constexpr uint32_t radarLimitRoutine = 0x4A4F30;
constexpr uint32_t radarMaskFansRoutine = 0x4A69C0;
constexpr uint32_t hudRoutineA = 0x5052A0;
constexpr uint32_t hudRoutineB = 0x509030;
// Single bytes inside the game's HUD code that the plug-in makes NOPs.
constexpr uint32_t hudCodeByteA = 0x57E954;
constexpr uint32_t hudCodeByteB = 0x57E93E;
// The game's 2D vertex buffer that the fill routine writes.
constexpr uint32_t radarVertexBuffer = 0x6E9168;

struct RadarPoint {
    float x, y;
};

// Calls the game's routine at its address as the game's radar drawing does: whatever the
// plug-in wrote there runs.
RadarPoint radarToScreen(RadarPoint in);
float radarLimit(RadarPoint& point);
void radarMaskFans();

// The screen points the last fill of the vertex buffer wrote, in order.
std::vector<RadarPoint> vertexBufferPoints();

// Game bytes the radar drawing reads.
void setRadarFlashingItem(uint8_t item); // 8: the game flashes health and armour
void setRadarSpritesShown(bool shown);   // the game draws its radar sprites this frame
// The player whose health and armour the radar shows: the player's actor, or none.
void setRadarPlayerPresent(bool present);

// Puts the game's own code back at the four sites the plug-in patches every frame.
void restoreHudCode();

} // namespace sim
