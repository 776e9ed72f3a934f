#pragma once
// The game's mission timer and counter record, the blink bytes the HUD keeps in the game, the
// game's text table and its plain-rectangle routine.
#include "sim/sim.h"

#include <string>

namespace sim {

// The game's text table object; its lookup is logged as "lookupText" with the key as name.
constexpr uint32_t textTableObject = 0x941520;

// What the text table gives for a key; a key never set gives "<key>".
void setTableText(const std::string& key, const std::string& text);

// The timer and the counter as the game posts them. Each keeps the timer-or-counter byte up to
// date. An empty key means no label.
void showMissionTimer(const std::string& key, const std::string& value);
void hideMissionTimer();
enum class CounterKind : int16_t { Number = 0, Bar = 1 };
void showMissionCounter(const std::string& key, const std::string& value,
                        CounterKind kind = CounterKind::Number);
// Writes the counter's value field byte for byte, without an end within it.
void fillMissionCounterValue(char filler);
void hideMissionCounter();

struct BlinkBytes {
    uint8_t seen;
    uint8_t count;
};
BlinkBytes timerBlinkBytes();
BlinkBytes counterBlinkBytes();

} // namespace sim
