// Pager and ammo-panel state as the simulated game keeps it.
#include "sim/host_panels.h"
#include "sim/host_data.h"

namespace sim {
namespace {

constexpr uint32_t pagerTextAddress = 0x878840;
constexpr uint32_t pagerStepByte = 0x95CCA0;
constexpr uint32_t pagerBeepedByte = 0x95CC4A;
constexpr uint32_t pagerOffsetFloat = 0x941590;
constexpr uint32_t ammoWidthAspectFloat = 0x5F53C0;

void resetPanels() {
    setAmmoWidthAspect(4.0f / 3.0f);
}

const HostPart panels({}, resetPanels);

} // namespace

void setPagerText(const std::string& text) {
    writeHostText(pagerTextAddress, text);
}
uint8_t& pagerStep() {
    return at<uint8_t>(pagerStepByte);
}
uint8_t& pagerBeeped() {
    return at<uint8_t>(pagerBeepedByte);
}
float& pagerOffset() {
    return at<float>(pagerOffsetFloat);
}
void setAmmoWidthAspect(float aspect) {
    at<float>(ammoWidthAspectFloat) = aspect;
}

} // namespace sim
