#pragma once
// The game's current area and vehicle names, its text-size setting, and the state of its own
// name displays that the plug-in takes over at load.
#include "sim/sim.h"

#include <string>
#include <vector>

namespace sim {

// The game's "no area seen yet" text: the plug-in's area display starts out having seen it.
constexpr uint32_t noAreaSeenText = 0x8F432C;

// A 16-bit game text that stays put for the whole program; equal texts share one address.
uint32_t gameText(const std::string& text);
// "" stands for none: no area known, or the player on foot.
void setAreaName(const std::string& text);
void setVehicleName(const std::string& text);
void setAreaNamePointer(uint32_t text);
void setVehicleNamePointer(uint32_t text);
// The game's text-size menu setting (3 and 4 narrow the names).
void setTextSizeSetting(uint8_t setting);

// The game's own name-display values at the moment the plug-in loads.
struct NameSeeds {
    int32_t areaState = 0;
    int32_t areaTimer = 0;
    uint32_t vehicleLast = 0;
    int32_t vehicleState = 0;
    int32_t vehicleTimer = 0;
};
void setNameSeeds(const NameSeeds& seeds);
// Where the game keeps those five values, for tests that watch who reads them.
std::vector<uint32_t> nameSeedLocations();

} // namespace sim
