#pragma once
// A scripted stretch of play for the preview: one command a line, read top to bottom.
//
//   # a comment               blank lines and comments are skipped
//   screen 1920x1080          screen size when the command line gives none (once, before steps)
//   step 20                   frame duration in milliseconds from here on (default 20)
//   frames 3                  run this many frames
//   wait 1500                 run frames until this many milliseconds of game time have passed
//   press p / release p       a key: a letter, a digit, escape, lcontrol, lmouse, rmouse, mmouse
//   mouse-wheel up            up, down or still
//   cash 12450                wanted 2             health 80          armour 50
//   weapon 3 2 14 86          weapon record 3: type 2, 14 in the magazine, 86 in all
//   current-weapon 3          magazine 2 17        (weapon type 2 holds 17 rounds)
//   vehicle 4                 in a vehicle tuned to station 4; "vehicle none" on foot
//   radio on                  the game lets the radio be changed (on or off)
//   area Harbour              vehicle-name Ostrel     (no text: none)
//   time-of-day 21:37         the phone's clock
//   timer KEY 02:15           counter KEY 3            counter-bar KEY 65   (KEY - : no label)
//   timer off                 counter off
//   label KEY Text            what the game's text table says for KEY
//   message 0 Text            big-message slot 0..5; no text clears the slot
//   help Text / subtitle Text / pager Text             no text clears
//   camera 4                  mode of the active camera
//   mouse-aim on              the game's mouse-aim option (on or off)
//   aim 0.53 0.44             aim point as fractions of the screen
//   hud on                    the HUD shown (on or off)
//   clock 4294967000          the game's millisecond clock set: back, or close to its wrap
//   load-save 1000            a saved game loaded: the game starts again, its clock at 1000
//   lock tarvel_III.ini       a file of tarvel_moravik\ held open without read sharing, as an
//   unlock tarvel_III.ini     editor does while it saves, until unlocked
//   capture NAME              draw the last frame into NAME_<width>x<height>.png
#include <cstdint>
#include <string>
#include <vector>

namespace preview {

enum class Command {
    Screen,
    Step,
    Frames,
    Wait,
    Press,
    Release,
    MouseWheel,
    Cash,
    Wanted,
    Health,
    Armour,
    Weapon,
    CurrentWeapon,
    Magazine,
    Vehicle,
    Radio,
    Area,
    VehicleName,
    TimeOfDay,
    Timer,
    Counter,
    CounterBar,
    Label,
    Message,
    Help,
    Subtitle,
    Pager,
    Camera,
    MouseAim,
    Aim,
    Hud,
    Clock,
    LoadSave,
    Lock,
    Unlock,
    Capture,
};

struct Step {
    Command command{};
    int line = 0;
    std::vector<double> numbers; // in the order written; a switch or "none" reads 1 or 0
    std::string text;            // a key's name, a text, a capture's name
    std::string key;             // a text key of the game's text table ("" for no label)
    bool off = false;            // "timer off", "vehicle none"
};

struct Scenario {
    int width = 1920; // from "screen", or the default
    int height = 1080;
    std::vector<Step> steps;
};

// On a fault: false, and error holds one line, "<source>:<line>: <what is wrong>".
bool parseScenario(const std::string& text, const std::string& source, Scenario& scenario,
                   std::string& error);
bool readScenario(const std::string& path, Scenario& scenario, std::string& error);

// "1280x720": both sides 1..8192.
bool parseSize(const std::string& text, int& width, int& height);

// The game's virtual key of a key name, or -1.
int virtualKey(const std::string& name);

} // namespace preview
