#include "sim/host_data.h"
#include "sim/host_map.h"
#include "sim/host_state.h"

namespace sim {

void resetTextures();

namespace {
template <class T> void writePerBuild(const uint32_t (&addresses)[3], T value) {
    const Build build = currentBuild();
    if (build == Build::unknown) return;
    at<T>(addresses[static_cast<int>(build)]) = value;
}
template <class T> T readPerBuild(const uint32_t (&addresses)[3]) {
    const Build build = currentBuild();
    return build == Build::unknown ? T{} : at<T>(addresses[static_cast<int>(build)]);
}
} // namespace

void resetHostState() {
    resetTextures();
    setScreenSize(1920, 1080);
    setClock(0);
    setTimeStep(1.0f);
    setFrameCounter(0);
    setHudShown(true);
}

void setScreenSize(int width, int height) {
    at<int32_t>(host::screenWidth) = width;
    at<int32_t>(host::screenHeight) = height;
}
void setClock(uint32_t milliseconds) {
    writePerBuild(host::clock, milliseconds);
}
void advanceClock(uint32_t milliseconds) {
    setClock(readPerBuild<uint32_t>(host::clock) + milliseconds);
}
void setTimeStep(float fiftieths) {
    writePerBuild(host::timeStep, fiftieths);
}
void setFrameCounter(uint32_t frames) {
    writePerBuild(host::frameCounter, frames);
}

void setHudShown(bool shown) {
    at<uint8_t>(host::hudShownByte) = shown ? 1 : 0;
}
bool hudShown() {
    return at<uint8_t>(host::hudShownByte) != 0;
}
void setMenuActive(bool active) {
    at<uint8_t>(host::menuByte) = active ? 1 : 0;
}
void setHudSuppressed(bool on) {
    at<uint8_t>(host::hudSuppressedByte) = on ? 1 : 0;
}
void setMissionTimersShown(bool shown) {
    at<uint8_t>(host::missionTimersShownByte) = shown ? 1 : 0;
}

} // namespace sim

namespace sim {

namespace {
constexpr uint32_t messageSlots = 0x664CE0;
constexpr uint32_t subtitleText = 0x72E318;
} // namespace

void writeHostText(uint32_t address, const std::string& text) {
    auto* units = reinterpret_cast<char16_t*>(address);
    size_t i = 0;
    for (; i < text.size(); ++i)
        units[i] = static_cast<unsigned char>(text[i]);
    units[i] = 0;
}

std::u16string hostTextAt(uint32_t address) {
    const auto* units = reinterpret_cast<const char16_t*>(address);
    std::u16string text;
    for (size_t i = 0; units[i] && i < 0x1000; ++i)
        text += units[i];
    return text;
}

void setMessage(int slot, const std::string& text) {
    writeHostText(messageSlots + 0x100 * slot, text);
}
std::u16string message(int slot) {
    return hostTextAt(messageSlots + 0x100 * slot);
}
void setSubtitle(const std::string& text) {
    writeHostText(subtitleText, text);
}

} // namespace sim
