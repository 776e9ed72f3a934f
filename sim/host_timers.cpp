// The mission timer record, the game's text table and its plain rectangles.
#include "sim/host_timers.h"
#include "sim/host_data.h"
#include "sim/host_names.h"

#include <algorithm>
#include <cstring>
#include <map>

#define SIM_CDECL __attribute__((cdecl))
#define SIM_THISCALL __attribute__((thiscall))

namespace sim {
namespace {

constexpr uint32_t lookupRoutine = 0x52BFB0;
constexpr uint32_t plainRectangleRoutine = 0x51F970;
constexpr uint32_t timerKey = 0x862240;
constexpr uint32_t counterKey = 0x86224A;
constexpr uint32_t counterKind = 0x862254;
constexpr uint32_t counterValue = 0x862256;
constexpr uint32_t timerValue = 0x862280;
constexpr uint32_t timerShown = 0x8622AA;
constexpr uint32_t counterShown = 0x8622AB;
constexpr uint32_t keySize = 10;
constexpr uint32_t valueSize = 42;
constexpr uint32_t timerSeen = 0x95CDA7;
constexpr uint32_t timerBlink = 0x95CC6C;
constexpr uint32_t counterSeen = 0x95CD67;
constexpr uint32_t counterBlink = 0x95CC20;

std::map<std::string, std::string> tableTexts;

const char16_t* SIM_THISCALL lookupText(void* table, const char* key) {
    HostCall call;
    call.routine = "lookupText";
    call.object = reinterpret_cast<uint32_t>(table);
    if (checkReadable(key, 1, "a text key"))
        for (size_t i = 0; key[i] && i < 16; ++i)
            call.name += key[i];
    auto entry = tableTexts.find(call.name);
    const std::string text = entry != tableTexts.end() ? entry->second : "<" + call.name + ">";
    record(std::move(call));
    return reinterpret_cast<const char16_t*>(gameText(text));
}

void SIM_CDECL drawPlainRectangle(const float* rect, const void* rgba) {
    HostCall call;
    call.routine = "drawPlainRectangle";
    if (checkReadable(rect, 16, "a rectangle")) call.numbers.assign(rect, rect + 4);
    if (checkReadable(rgba, 4, "a colour")) std::memcpy(&call.colour, rgba, 4);
    call.hasColour = true;
    record(std::move(call));
}

void writeField(uint32_t address, uint32_t size, const std::string& text) {
    std::memset(reinterpret_cast<void*>(address), 0, size);
    std::memcpy(reinterpret_cast<void*>(address), text.data(), std::min<size_t>(text.size(), size));
}

void updateAnyShown() {
    setMissionTimersShown(at<uint8_t>(timerShown) != 0 || at<uint8_t>(counterShown) != 0);
}

void reset() {
    tableTexts.clear();
}

const HostPart part({{lookupRoutine, reinterpret_cast<const void*>(&lookupText)},
                     {plainRectangleRoutine, reinterpret_cast<const void*>(&drawPlainRectangle)}},
                    reset);

} // namespace

void setTableText(const std::string& key, const std::string& text) {
    tableTexts[key] = text;
}

void showMissionTimer(const std::string& key, const std::string& value) {
    writeField(timerKey, keySize, key);
    writeField(timerValue, valueSize, value);
    at<uint8_t>(timerShown) = 1;
    updateAnyShown();
}
void hideMissionTimer() {
    at<uint8_t>(timerShown) = 0;
    updateAnyShown();
}

void showMissionCounter(const std::string& key, const std::string& value, CounterKind kind) {
    writeField(counterKey, keySize, key);
    writeField(counterValue, valueSize, value);
    at<int16_t>(counterKind) = static_cast<int16_t>(kind);
    at<uint8_t>(counterShown) = 1;
    updateAnyShown();
}
void fillMissionCounterValue(char filler) {
    std::memset(reinterpret_cast<void*>(counterValue), filler, valueSize);
}
void hideMissionCounter() {
    at<uint8_t>(counterShown) = 0;
    updateAnyShown();
}

BlinkBytes timerBlinkBytes() {
    return {at<uint8_t>(timerSeen), at<uint8_t>(timerBlink)};
}
BlinkBytes counterBlinkBytes() {
    return {at<uint8_t>(counterSeen), at<uint8_t>(counterBlink)};
}

} // namespace sim
