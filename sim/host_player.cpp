// The player as the simulated game keeps it: actor, records, weapons, vehicle, pads, sound.
#include "sim/host_data.h"

#include <cstring>

#define SIM_CDECL __attribute__((cdecl))
#define SIM_THISCALL __attribute__((thiscall))

namespace sim {
namespace {

constexpr uint32_t actorRoutine = 0x4A1150;
constexpr uint32_t vehicleRoutine = 0x4A10C0;
constexpr uint32_t weaponInfoRoutine = 0x564FD0;
constexpr uint32_t ammoPredicateRoutine = 0x420E60;
constexpr uint32_t padRoutine = 0x492F60;
constexpr uint32_t padQueryRoutine = 0x493320;
constexpr uint32_t soundRoutine = 0x57E2E0;
constexpr uint32_t radioRoutine = 0x57D2C0;
constexpr uint32_t playerRecords = 0x9413A0;
constexpr uint32_t currentPlayerByte = 0x95CD61;
constexpr uint32_t radarActorPointer = 0x9412F0;
constexpr uint32_t radioAvailableByte = 0x64D061;
constexpr uint32_t wheelUpByte = 0x8809F3;
constexpr uint32_t wheelDownByte = 0x8809F4;

alignas(16) uint8_t actor[0x600];
alignas(16) uint8_t wantedRecord[0x40];
alignas(16) uint8_t vehicle[0x300];
alignas(16) uint8_t weaponInfos[64][0x70];
alignas(16) uint8_t pads[2][0x100];
bool playerPresent = true;
bool vehiclePresent = false;
bool ammoHiddenResult = false;
int padQueryResult = 0;

template <class T> T& field(uint8_t* record, uint32_t offset) {
    return *reinterpret_cast<T*>(record + offset);
}

HostCall named(const char* routine, uint32_t object = 0) {
    HostCall call;
    call.routine = routine;
    call.object = object;
    return call;
}

uint8_t* SIM_CDECL playerActor() {
    return playerPresent ? actor : nullptr;
}
uint8_t* SIM_CDECL playerVehicle() {
    return vehiclePresent ? vehicle : nullptr;
}
uint8_t* SIM_CDECL weaponInfo(int type) {
    record(named("weaponInfo", static_cast<uint32_t>(type)));
    return weaponInfos[static_cast<uint32_t>(type) % 64];
}
uint32_t SIM_CDECL ammoPredicate() {
    return ammoHiddenResult ? 1 : 0;
}
uint8_t* SIM_CDECL padByNumber(int number) {
    return pads[number & 1];
}
int SIM_THISCALL padQuery(uint8_t* pad) {
    record(named("padQuery", reinterpret_cast<uint32_t>(pad)));
    return padQueryResult;
}
void SIM_THISCALL playSound(void* manager, int sound, int argument) {
    auto call = named("playSound", reinterpret_cast<uint32_t>(manager));
    call.numbers = {double(sound), double(argument)};
    record(std::move(call));
}
void SIM_THISCALL setRadioStation(void* manager, int station) {
    auto call = named("setRadioStation", reinterpret_cast<uint32_t>(manager));
    call.numbers = {double(station)};
    record(std::move(call));
}

void resetPlayer() {
    std::memset(actor, 0, sizeof actor);
    std::memset(wantedRecord, 0, sizeof wantedRecord);
    std::memset(vehicle, 0, sizeof vehicle);
    std::memset(weaponInfos, 0, sizeof weaponInfos);
    std::memset(pads, 0, sizeof pads);
    playerPresent = true;
    vehiclePresent = false;
    ammoHiddenResult = false;
    padQueryResult = 0;
    field<uint8_t*>(actor, 0x53C) = wantedRecord;
    at<uint8_t*>(radarActorPointer) = actor;
    setHealth(100.0f);
    for (int type = 0; type < 64; ++type)
        setMagazineSize(type, 1);
}

const HostPart player({{actorRoutine, reinterpret_cast<const void*>(&playerActor)},
                       {vehicleRoutine, reinterpret_cast<const void*>(&playerVehicle)},
                       {weaponInfoRoutine, reinterpret_cast<const void*>(&weaponInfo)},
                       {ammoPredicateRoutine, reinterpret_cast<const void*>(&ammoPredicate)},
                       {padRoutine, reinterpret_cast<const void*>(&padByNumber)},
                       {padQueryRoutine, reinterpret_cast<const void*>(&padQuery)},
                       {soundRoutine, reinterpret_cast<const void*>(&playSound)},
                       {radioRoutine, reinterpret_cast<const void*>(&setRadioStation)}},
                      resetPlayer);

} // namespace

void setPlayerPresent(bool present) {
    playerPresent = present;
}
uint32_t playerActorAddress() {
    return reinterpret_cast<uint32_t>(actor);
}
void setCash(int32_t cash) {
    at<int32_t>(playerRecords + 0x13C * at<uint8_t>(currentPlayerByte)) = cash;
}
void setWantedLevel(uint32_t level, uint32_t changedAt) {
    field<uint32_t>(wantedRecord, 0x18) = level;
    field<uint32_t>(wantedRecord, 0x8) = changedAt;
}
void setWeapon(int slot, int32_t type, uint32_t clip, uint32_t total) {
    uint8_t* weapon = actor + 0x35C + 24 * slot;
    field<int32_t>(weapon, 0) = type;
    field<uint32_t>(weapon, 8) = clip;
    field<uint32_t>(weapon, 0xC) = total;
}
void setCurrentWeapon(int slot) {
    field<uint8_t>(actor, 0x498) = static_cast<uint8_t>(slot);
}
void setMagazineSize(int type, uint32_t size) {
    field<uint32_t>(weaponInfos[type % 64], 0x10) = size;
}
void setAmmoHidden(bool hidden) {
    ammoHiddenResult = hidden;
}
void setPlayerStateByte(uint8_t state) {
    field<uint8_t>(actor, 0x160) = state;
}
void setHealth(float health) {
    field<float>(actor, 0x2C0) = health;
}
void setArmour(float armour) {
    field<float>(actor, 0x2C4) = armour;
}
void setVehicle(bool present, int8_t station) {
    vehiclePresent = present;
    field<int8_t>(vehicle, 0x229) = station;
}
void setRadioAvailable(bool available) {
    at<uint8_t>(radioAvailableByte) = available ? 1 : 0;
}
void setMouseWheel(bool up, bool down) {
    at<uint8_t>(wheelUpByte) = up ? 1 : 0;
    at<uint8_t>(wheelDownByte) = down ? 1 : 0;
}
void setToggleButton(bool now, bool before) {
    field<int16_t>(pads[1], 0x18) = now ? 255 : 0;
    field<int16_t>(pads[1], 0x42) = before ? 255 : 0;
}
void setPadQueryResult(int result) {
    padQueryResult = result;
}

} // namespace sim
