#pragma once
// The game's cameras and aiming state: which camera is active, what each one looks at, where
// the aim point is, and the crosshair's strength counter.
#include <cstdint>

namespace sim {

constexpr int cameraCount = 3; // the game's fixed camera array

// Camera record 0..2: its mode and the actor it follows (0 for none).
void setCamera(int index, int16_t mode, uint32_t target = 0);
// Any byte the game may write; indices past the array are allowed here on purpose.
void setActiveCamera(uint8_t index);
// The aim point as fractions of the screen width and height.
void setAimPoint(float x, float y);
void setMouseAimEnabled(bool enabled); // the game's mouse-aim option
void setAimingWithMouse(bool aiming);  // the player aims with the mouse right now
void setCrosshairStrength(int32_t strength);
int32_t crosshairStrength();

} // namespace sim
