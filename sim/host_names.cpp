// Area and vehicle names as the simulated game keeps them.
#include "sim/host_names.h"

#include <deque>
#include <map>

namespace sim {
namespace {

constexpr uint32_t areaNamePointer = 0x8E2C2C;
constexpr uint32_t vehicleNamePointer = 0x942FB4;
constexpr uint32_t textSizeSetting = 0x941238;
constexpr uint32_t areaStateSeed = 0x8F29AC;
constexpr uint32_t areaTimerSeed = 0x8F1A50;
constexpr uint32_t vehicleLastSeed = 0x8E2DD8;
constexpr uint32_t vehicleStateSeed = 0x940560;
constexpr uint32_t vehicleTimerSeed = 0x8F2A14;

// Never freed: a display may still point at a text from an earlier test.
std::deque<std::u16string>& texts() {
    static std::deque<std::u16string> storage;
    return storage;
}
std::map<std::string, uint32_t>& addressOf() {
    static std::map<std::string, uint32_t> index;
    return index;
}

} // namespace

uint32_t gameText(const std::string& text) {
    auto found = addressOf().find(text);
    if (found != addressOf().end()) return found->second;
    std::u16string wide;
    for (char c : text)
        wide += static_cast<char16_t>(static_cast<unsigned char>(c));
    texts().push_back(std::move(wide));
    const auto address = reinterpret_cast<uint32_t>(texts().back().c_str());
    addressOf().emplace(text, address);
    return address;
}

void setAreaName(const std::string& text) {
    setAreaNamePointer(text.empty() ? 0 : gameText(text));
}
void setVehicleName(const std::string& text) {
    setVehicleNamePointer(text.empty() ? 0 : gameText(text));
}
void setAreaNamePointer(uint32_t text) {
    at<uint32_t>(areaNamePointer) = text;
}
void setVehicleNamePointer(uint32_t text) {
    at<uint32_t>(vehicleNamePointer) = text;
}
void setTextSizeSetting(uint8_t setting) {
    at<uint8_t>(textSizeSetting) = setting;
}

void setNameSeeds(const NameSeeds& seeds) {
    at<int32_t>(areaStateSeed) = seeds.areaState;
    at<int32_t>(areaTimerSeed) = seeds.areaTimer;
    at<uint32_t>(vehicleLastSeed) = seeds.vehicleLast;
    at<int32_t>(vehicleStateSeed) = seeds.vehicleState;
    at<int32_t>(vehicleTimerSeed) = seeds.vehicleTimer;
}

std::vector<uint32_t> nameSeedLocations() {
    return {areaStateSeed, areaTimerSeed, vehicleLastSeed, vehicleStateSeed, vehicleTimerSeed};
}

} // namespace sim
