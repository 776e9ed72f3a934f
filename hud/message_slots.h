#pragma once
// The game's six big-message slots and the animation values it keeps for each of them; the
// drawers keep their timing there so that the game's own code that reads them keeps working.
#include <cstdint>

constexpr int centreMessageSlot = 0;
constexpr int missionTitleSlot = 1;
constexpr int wastedBustedSlot = 2;
constexpr int oddJobSlot = 3;
constexpr int secondOddJobSlot = 4;
constexpr int oddJobResultSlot = 5;

char16_t* messageText(int slot);
bool messageEmpty(int slot);
float& messageHold(int slot);
float& messageSlide(int slot);
float& messageOpacity(int slot);

// An animated opacity as a text alpha, whatever the game left in it.
uint8_t alphaOf(float opacity);

// Slide-and-hold timing of slots 0 and 1: the message comes in while its slide crosses the
// screen, holds for 120 ticks, fades out and is cleared. False on frames that draw nothing;
// otherwise alpha is what to draw with.
bool slideAndHold(int slot, uint8_t& alpha);
