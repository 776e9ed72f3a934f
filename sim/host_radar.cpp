// The game's radar: its own versions of the three routines the plug-in replaces, the routines
// that draw the radar's contents, the vertex fill and primitive draw of the mask fans, and the
// HUD code the plug-in switches off every frame.
#include "sim/host_radar.h"
#include "sim/host_data.h"

#include <cmath>
#include <cstring>
#include <utility>

#define SIM_CDECL __attribute__((cdecl))

namespace sim {
namespace {

constexpr uint32_t drawBlipsRoutine = 0x4A4200;
constexpr uint32_t drawMapRoutine = 0x4A42F0;
constexpr uint32_t drawSpritesRoutine = 0x4A4C70;
constexpr uint32_t fillVerticesRoutine = 0x51F490;
constexpr uint32_t drawPrimitiveRoutine = 0x5A4430;
constexpr uint32_t flashingItemByte = 0x95CC82;
constexpr uint32_t spritesShownByte = 0x95CD62;
constexpr uint32_t radarPlayerPointer = 0x9412F0;
// The HUD code around the two patched bytes.
constexpr uint32_t hudCodeStart = 0x57E930;
constexpr size_t hudCodeSize = 0x30;
constexpr int vertexBufferCapacity = 64;

int filledPoints = 0;

HostCall named(const char* routine, uint32_t object = 0) {
    HostCall call;
    call.routine = routine;
    call.object = object;
    return call;
}

// The game's own radar: a round one of radius 50 pixels at (100, 100).
void SIM_CDECL gameRadarToScreen(RadarPoint* out, const RadarPoint* in) {
    auto call = named("gameRadarToScreen");
    call.numbers = {in->x, in->y};
    record(std::move(call));
    *out = {100.0f + 50.0f * in->x, 100.0f - 50.0f * in->y};
}
float SIM_CDECL gameRadarLimit(RadarPoint* point) {
    auto call = named("gameRadarLimit");
    call.numbers = {point->x, point->y};
    record(std::move(call));
    return -1.0f;
}
void SIM_CDECL gameRadarMaskFans() {
    record(named("gameRadarMaskFans"));
}

void SIM_CDECL radarDrawBlips() {
    record(named("radarDrawBlips"));
}
void SIM_CDECL radarDrawMap() {
    record(named("radarDrawMap"));
}
void SIM_CDECL radarDrawSprites() {
    record(named("radarDrawSprites"));
}

void SIM_CDECL fillVertices(int count, const float* points) {
    auto call = named("fillVertices");
    call.numbers = {double(count)};
    int kept = count < 0 ? 0 : count > vertexBufferCapacity ? vertexBufferCapacity : count;
    if (!checkReadable(points, kept * sizeof(RadarPoint), "vertex points")) kept = 0;
    for (int i = 0; i < 2 * kept; ++i)
        call.numbers.push_back(points[i]);
    record(std::move(call));
    std::memcpy(reinterpret_cast<void*>(radarVertexBuffer), points, kept * sizeof(RadarPoint));
    filledPoints = kept;
}
void SIM_CDECL drawPrimitive(int type, void* vertices, int count) {
    auto call = named("drawPrimitive", reinterpret_cast<uint32_t>(vertices));
    call.numbers = {double(type), double(count)};
    record(std::move(call));
}

void SIM_CDECL gameHudRoutineA() {
    record(named("gameHudRoutine", hudRoutineA));
}
void SIM_CDECL gameHudRoutineB() {
    record(named("gameHudRoutine", hudRoutineB));
}

void resetRadar() {
    filledPoints = 0;
    restoreHudCode();
}

const HostPart radar({{radarToScreenRoutine, reinterpret_cast<const void*>(&gameRadarToScreen)},
                      {radarLimitRoutine, reinterpret_cast<const void*>(&gameRadarLimit)},
                      {radarMaskFansRoutine, reinterpret_cast<const void*>(&gameRadarMaskFans)},
                      {drawBlipsRoutine, reinterpret_cast<const void*>(&radarDrawBlips)},
                      {drawMapRoutine, reinterpret_cast<const void*>(&radarDrawMap)},
                      {drawSpritesRoutine, reinterpret_cast<const void*>(&radarDrawSprites)},
                      {fillVerticesRoutine, reinterpret_cast<const void*>(&fillVertices)},
                      {drawPrimitiveRoutine, reinterpret_cast<const void*>(&drawPrimitive)}},
                     resetRadar);

} // namespace

RadarPoint radarToScreen(RadarPoint in) {
    using Routine = void(SIM_CDECL*)(RadarPoint*, const RadarPoint*);
    RadarPoint out{NAN, NAN};
    reinterpret_cast<Routine>(radarToScreenRoutine)(&out, &in);
    return out;
}
float radarLimit(RadarPoint& point) {
    using Routine = float(SIM_CDECL*)(RadarPoint*);
    return reinterpret_cast<Routine>(radarLimitRoutine)(&point);
}
void radarMaskFans() {
    using Routine = void(SIM_CDECL*)();
    reinterpret_cast<Routine>(radarMaskFansRoutine)();
}

std::vector<RadarPoint> vertexBufferPoints() {
    const auto* points = reinterpret_cast<const RadarPoint*>(radarVertexBuffer);
    return {points, points + filledPoints};
}

void setRadarFlashingItem(uint8_t item) {
    at<uint8_t>(flashingItemByte) = item;
}
void setRadarSpritesShown(bool shown) {
    at<uint8_t>(spritesShownByte) = shown ? 1 : 0;
}

void setRadarPlayerPresent(bool present) {
    at<uint32_t>(radarPlayerPointer) = present ? playerActorAddress() : 0;
}

void restoreHudCode() {
    fillRecognisable(hudCodeStart, hudCodeSize);
    installRoutine(hudRoutineA, reinterpret_cast<const void*>(&gameHudRoutineA));
    installRoutine(hudRoutineB, reinterpret_cast<const void*>(&gameHudRoutineB));
}

} // namespace sim
