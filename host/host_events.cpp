#include "host/host_events.h"
#include "host/game_version.h"
#include "host/host_addresses.h"
#include "host/hud_log.h"
#include "patch/memory.h"

#include <windows.h>

namespace {

using PlainHandler = void (*)();

bool holdsSamePlainFunction(const EventHandler& a, const EventHandler& b) {
    const PlainHandler* first = a.target<PlainHandler>();
    const PlainHandler* second = b.target<PlainHandler>();
    return first && second && *first == *second;
}

void runAll(const std::vector<EventHandler>& handlers) {
    // By index and by copy: a handler may add handlers to the list while it runs.
    for (size_t i = 0; i < handlers.size(); ++i) {
        // Nothing is thrown into the game: what a failed handler had still to draw is skipped
        // for this frame, and the others run as usual.
        try {
            EventHandler copy = handlers[i];
            copy();
        } catch (...) {
        }
    }
}

// Takes over one call site and tells the log whether it could.
template <uint32_t Site> void installSiteHook(HostEvent& event) {
    auto dispatch = [&event](patch::NextStep next) { return event.dispatch(next); };
    const uint32_t address = adjustAddress(Site);
    const auto& site = patch::install_site_hook<Site>(address, dispatch).manager();
    event.siteResult = {true, site.found(), site.installed()};
    if (site.installed()) {
        logLine("call site %s at 0x%08X taken over (the game's call went to 0x%08X)", event.name,
                address, site.previous_target());
        return;
    }
    uint8_t code[6] = {};
    patch::peek_bytes(address, code, sizeof code);
    logLine("call site %s at 0x%08X left alone: it holds %02X %02X %02X %02X %02X %02X, not a "
            "call the HUD can hand on (another program may have changed it)",
            event.name, address, code[0], code[1], code[2], code[3], code[4], code[5]);
}

// Takes over the event's call site of the running build; an unknown build is left alone.
template <uint32_t HostAddresses::*Call> void installCallSite(HostEvent& event) {
    switch (gameVersion()) {
    case GameVersion::Build100:
        installSiteHook<build100Addresses.*Call>(event);
        break;
    case GameVersion::Build110:
        installSiteHook<build110Addresses.*Call>(event);
        break;
    case GameVersion::Build120:
        installSiteHook<build120Addresses.*Call>(event);
        break;
    default:
        break;
    }
}

} // namespace

void HostEvent::addHandler(EventHandler handler, HandlerList list) {
    auto& handlers = list == HandlerList::Before ? beforeHandlers : afterHandlers;
    for (const EventHandler& existing : handlers)
        if (holdsSamePlainFunction(existing, handler)) return;
    if (!hookInstalled) {
        hookInstalled = true;
        installSite_(*this);
    }
    handlers.push_back(std::move(handler));
}

void* HostEvent::dispatch(const patch::NextStep& hostCallee) {
    runAll(beforeHandlers);
    void* result = hostCallee();
    runAll(afterHandlers);
    return result;
}

HostEvent& StartEvent() {
    static HostEvent event(installCallSite<&HostAddresses::startCall>, "start");
    return event;
}
HostEvent& HudDrawEvent() {
    static HostEvent event(installCallSite<&HostAddresses::hudDrawCall>, "HUD draw");
    return event;
}
HostEvent& PhoneDrawEvent() {
    static HostEvent event(installCallSite<&HostAddresses::phoneDrawCall>, "phone draw");
    return event;
}
HostEvent& RadarPatchEvent() {
    static HostEvent event(installCallSite<&HostAddresses::radarSetupCall>, "radar setup");
    return event;
}
HostEvent& ShutdownEvent() {
    static HostEvent event(installCallSite<&HostAddresses::shutdownCall>, "shutdown");
    return event;
}
HostEvent& ReloadKeyEvent() {
    static HostEvent event(installCallSite<&HostAddresses::reloadKeyCall>, "reload key");
    return event;
}

void passThroughIfStillCalled() {
    if (!patch::any_diversion_rewritten()) return;
    HMODULE self = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_PIN | GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                       reinterpret_cast<LPCWSTR>(&passThroughIfStillCalled), &self);
    patch::bypass_chains();
    logLine("another program changed the game's code where the HUD joins it, after the HUD: the "
            "HUD is switched off but stays in memory until the game closes, so that program "
            "keeps working");
}
