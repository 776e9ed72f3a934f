// The simulated game's cameras, aiming bytes and tinted sprite routine.
#include "sim/host_cameras.h"
#include "sim/sim.h"

#include <utility>

#define SIM_CDECL __attribute__((cdecl))

namespace sim {
namespace {

constexpr uint32_t activeCameraByte = 0x6FAD6E;
constexpr uint32_t cameraRecords = 0x6FAE9C;
constexpr uint32_t cameraRecordSize = 0x1A4;
constexpr uint32_t cameraModeOffset = 0xC;
constexpr uint32_t cameraTargetOffset = 0x188;
constexpr uint32_t aimPointX = 0x6FAE94;
constexpr uint32_t aimPointY = 0x6FAE98;
constexpr uint32_t mouseAimEnabledByte = 0x5F03D8;
constexpr uint32_t aimingWithMouseByte = 0x6FAD52;
constexpr uint32_t crosshairStrengthInt = 0x95CC54;
constexpr uint32_t tintedSpriteRoutine = 0x51C960;

void SIM_CDECL drawTintedSprite(float x, float y, float z, float width, float height, uint8_t r,
                                uint8_t g, uint8_t b, int16_t intensity, float recipZ,
                                uint8_t alpha) {
    HostCall call;
    call.routine = "drawTintedSprite";
    call.numbers = {x,
                    y,
                    z,
                    width,
                    height,
                    double(r),
                    double(g),
                    double(b),
                    double(intensity),
                    recipZ,
                    double(alpha)};
    record(std::move(call));
}

const HostPart cameras({{tintedSpriteRoutine, reinterpret_cast<const void*>(&drawTintedSprite)}});

} // namespace

void setCamera(int index, int16_t mode, uint32_t target) {
    const uint32_t camera = cameraRecords + cameraRecordSize * static_cast<uint32_t>(index);
    at<int16_t>(camera + cameraModeOffset) = mode;
    at<uint32_t>(camera + cameraTargetOffset) = target;
}
void setActiveCamera(uint8_t index) {
    at<uint8_t>(activeCameraByte) = index;
}
void setAimPoint(float x, float y) {
    at<float>(aimPointX) = x;
    at<float>(aimPointY) = y;
}
void setMouseAimEnabled(bool enabled) {
    at<uint8_t>(mouseAimEnabledByte) = enabled ? 1 : 0;
}
void setAimingWithMouse(bool aiming) {
    at<uint8_t>(aimingWithMouseByte) = aiming ? 1 : 0;
}
void setCrosshairStrength(int32_t strength) {
    at<int32_t>(crosshairStrengthInt) = strength;
}
int32_t crosshairStrength() {
    return at<int32_t>(crosshairStrengthInt);
}

} // namespace sim
