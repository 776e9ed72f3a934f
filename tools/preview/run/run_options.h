#pragma once
// What a run of the preview is asked to do, as its command line says it.
#include <string>
#include <vector>

namespace preview {

struct Size {
    int width, height;
};

// Paths are UTF-8.
struct Options {
    std::string data;
    std::string scenario;
    std::vector<Size> sizes;
    std::string out; // "." unless checking
    std::string log; // where the plug-in's log of the run goes
    bool check = false;
    bool watch = false;
    bool edit = false; // --watch, with the page served to the layout editor
    bool help = false;
    bool fillArt = false; // a dictionary DIR lacks comes from the project's own art
    bool play = false;    // the run inside the game directory: --play and --fonts
    std::string fonts;    // for the run inside
    std::string watcher;  // the run inside under --watch: the watching process's id
    std::string remove;   // a game directory to remove once the process of handle --after ends
    std::string after;
};

} // namespace preview
