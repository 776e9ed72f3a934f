#pragma once
// The HUD elements, one source file each, in the order the frame draws them.

// Before either group, every frame: the HUD on/off button.
void pollHudToggle(); // hud_toggle.cpp

// First group: drawn while the HUD is shown and no menu is up.
void drawCrosshair();                          // crosshair.cpp
void drawRadarFrame();                         // radar_frame.cpp
void drawAreaAndVehicleNames(int titleOffset); // area_vehicle_names.cpp
void drawMissionTimers();                      // mission_timers.cpp
void drawPager();                              // pager.cpp
void drawWantedStars();                        // wanted_stars.cpp
void drawMoneyAndAmmoPanels();                 // money_ammo_panels.cpp

// Second group: drawn whenever the game does not suppress drawing.
void drawSubtitles();                   // subtitles.cpp
void drawBigMessages();                 // big_messages.cpp: centre, wasted or busted
void drawHelpBoxAndOddJobs();           // help_box.cpp, then odd_job_messages.cpp
void drawMissionTitle(int titleOffset); // mission_title.cpp

// From its own event.
void drawPhone(); // phone.cpp
