#pragma once
// The plug-in's wiring: which handler runs at which game event.

// Registers the five handlers that are added at load; at unload gives back what it holds.
struct HudPlugin {
    HudPlugin();
    ~HudPlugin();
    HudPlugin(const HudPlugin&) = delete;
    HudPlugin& operator=(const HudPlugin&) = delete;
};

// The process is ending (the game closed): the game's own objects may be gone already, so the
// unload that follows gives nothing back to it.
void noteGameClosing();

// The handlers, by the event they serve.
void onGameStart();
void onHudDraw();
void onPhoneDraw();
void onRadarSetup();
void onGameShutdown();
void onReloadKeyPoll();
