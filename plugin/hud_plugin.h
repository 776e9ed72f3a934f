#pragma once
// The plug-in's wiring: which handler runs at which game event.

// Registers the five handlers that are added at load.
struct HudPlugin {
    HudPlugin();
};

// The handlers, by the event they serve.
void onGameStart();
void onHudDraw();
void onPhoneDraw();
void onRadarSetup();
void onGameShutdown();
void onReloadKeyPoll();
