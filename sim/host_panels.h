#pragma once
// The game state behind the pager and the ammo panel that the player part does not keep.
#include <cstdint>
#include <string>

namespace sim {

// The pager: the message the game scrolls (8-bit here, widened unsigned; "" ends it), its step
// (0 hidden, 1 sliding in or shown, 2 sliding out), whether its beep has played, and its slide
// offset in layout units (150 out of view, 0 fully in). All zero after layOut.
void setPagerText(const std::string& text);
uint8_t& pagerStep();
uint8_t& pagerBeeped();
float& pagerOffset();

// The game's screen aspect that the ammo panel divides its text width by. layOut sets the
// game's own 4:3 value, 1.3333334, which makes that width the screen width.
void setAmmoWidthAspect(float aspect);

} // namespace sim
