#include "hud/message_slots.h"
#include "host/host_interface.h"
#include "screen/units.h"

namespace {

constexpr int slotUnits = 0x100 / sizeof(char16_t);
constexpr float enterStart = -60.0f;
constexpr float holdTicks = 120.0f;
constexpr float fullOpacity = 255.0f;

float& slotValue(uint32_t HostAddresses::*array, int slot) {
    return (&host::global<float>(array))[slot];
}

} // namespace

char16_t* messageText(int slot) {
    return &host::global<char16_t>(&HostAddresses::messageSlots) + slot * slotUnits;
}
bool messageEmpty(int slot) {
    return messageText(slot)[0] == 0;
}
float& messageHold(int slot) {
    return slotValue(&HostAddresses::messageHold, slot);
}
float& messageSlide(int slot) {
    return slotValue(&HostAddresses::messageSlide, slot);
}
float& messageOpacity(int slot) {
    return slotValue(&HostAddresses::messageOpacity, slot);
}

uint8_t alphaOf(float opacity) {
    if (!(opacity > 0.0f)) return 0;
    if (opacity >= fullOpacity) return 255;
    return static_cast<uint8_t>(opacity);
}

bool slideAndHold(int slot, uint8_t& alpha) {
    float& hold = messageHold(slot);
    float& slide = messageSlide(slot);
    float& opacity = messageOpacity(slot);
    if (messageEmpty(slot)) {
        hold = 0.0f;
        return false;
    }
    if (hold == 0.0f) {
        opacity = 0.0f;
        slide = enterStart;
        hold = 1.0f;
        return false;
    }

    const float step = host::frameMilliseconds();
    if (slide < host::screenWidth() - UnitX(20.0f)) {
        slide = static_cast<float>(slide + step * 0.3);
        opacity = static_cast<float>(opacity + step * 0.3);
        if (opacity > fullOpacity) opacity = fullOpacity;
    } else {
        hold += host::frameTick();
        if (hold >= holdTicks) {
            hold = holdTicks;
            opacity = static_cast<float>(opacity - step * 0.3);
            if (opacity <= 0.0f) {
                messageText(slot)[0] = 0;
                opacity = 0.0f;
            }
        }
    }
    alpha = alphaOf(opacity);
    return true;
}
