#pragma once
// A host event: one CALL instruction of the game, around which the plug-in's handlers run.
#include "patch/hooking.h"

#include <functional>
#include <vector>

using EventHandler = std::function<void()>;

enum class HandlerList { Before, After };

// What an event's call site held when its first handler was added, and whether the plug-in took
// it over. Only a CALL is taken over; with anything else there the event's handlers never run.
struct CallSiteResult {
    bool looked = false; // false: an unknown build, nothing was touched
    patch::SiteCode found = patch::SiteCode::Other;
    bool takenOver = false;
};

class HostEvent {
  public:
    using SiteInstaller = void (*)(HostEvent&);
    explicit HostEvent(SiteInstaller installSite, const char* siteName = "")
        : name(siteName), installSite_(installSite) {}

    // Appends a handler. A plain function already in the list is not added twice; closures
    // always are. The first handler takes over the event's call site for the running build.
    void addHandler(EventHandler handler, HandlerList list = HandlerList::After);
    // Runs the before-handlers, the game's own call, then the after-handlers; returns the
    // game's result unchanged.
    void* dispatch(const patch::NextStep& hostCallee);

    const char* name; // as the log names its call site
    bool hookInstalled = false;
    CallSiteResult siteResult;
    std::vector<EventHandler> beforeHandlers;
    std::vector<EventHandler> afterHandlers;

  private:
    SiteInstaller installSite_;
};

HostEvent& StartEvent();
HostEvent& HudDrawEvent();
HostEvent& PhoneDrawEvent();
HostEvent& RadarPatchEvent();
HostEvent& ShutdownEvent();
HostEvent& ReloadKeyEvent();

// At unload: where another program rewrote a site of ours after us, it still calls into this
// module through what it kept. Then the module stays loaded until the game closes and every
// site hands its call straight to the game's routine; the log says so.
void passThroughIfStillCalled();
