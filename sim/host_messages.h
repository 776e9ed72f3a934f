#pragma once
// The game's message state: the animation it keeps for the big-message slots, the odd-job
// result line, the help box and its texts, and the flags that change how they show.
#include <cstdint>
#include <string>

namespace sim {

// Per big-message slot 0..5 (texts: setMessage in host_data.h).
float& messageHold(int slot);
float& messageSlide(int slot);
float& messageOpacity(int slot);

// The odd-job result line's progress.
int8_t& resultStep();
float& resultPosition();
int8_t& resultByte();
float& resultDelay();

// The help box: the text the game posts, the copy it last saw, the text on screen.
void setHelpText(const std::string& text); // "" clears
std::u16string helpText();
std::u16string helpLastSeen();
std::u16string helpDisplayed();
int32_t& helpBoxState();  // 0 idle, 1 shown, 2 fading in, 3 fading out, 4 making way for a new text
int32_t& helpBoxTimer();  // milliseconds
int32_t& helpBoxFade();   // 0..600
float& helpBoxDuration(); // seconds
void setHelpSoundGate(float value); // the help sound plays only while this is 0
void setHelpShortened(bool on);     // help texts stay 1.5 s at most

// Options of the running build (nothing for an unknown build).
void setLargeMissionTitle(bool on);
void setHelpBoxHidden(bool on);
void setSmallHelpText(bool on);
// Subtitles show even while a menu is up.
void setSubtitlesWithMenu(bool on);

} // namespace sim
