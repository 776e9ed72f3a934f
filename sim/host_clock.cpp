#include "sim/host_clock.h"
#include "sim/sim.h"

namespace sim {
namespace {

// Builds 100, 110, 120.
constexpr uint32_t hourByte[3] = {0x95CDA6, 0x95CF5F, 0x96D09F};
constexpr uint32_t minuteByte[3] = {0x95CDC8, 0x95CF80, 0x96D0C0};

} // namespace

void setTimeOfDay(uint8_t hour, uint8_t minute) {
    const Build build = currentBuild();
    if (build == Build::unknown) return;
    const auto index = static_cast<size_t>(build);
    at<uint8_t>(hourByte[index]) = hour;
    at<uint8_t>(minuteByte[index]) = minute;
}

} // namespace sim
