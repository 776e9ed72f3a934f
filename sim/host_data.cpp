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
