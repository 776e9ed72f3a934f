// preview: runs the real plug-in inside the simulated game through a scenario and writes what
// it drew as PNG frames.
//
//   preview [--data DIR] [--scenario FILE] [--size WxH]... [--out DIR] [--check] [--watch]
//           [--edit] [--log FILE] [--fill-art]
//
// Every run lists what the HUD cannot use in the settings, the textures it looks up that the
// dictionaries lack and what the layout check finds, and the page says the same.
// --check reports, per capture and size, what the layout check finds and exits with 1 when it
// finds anything; it writes frames only when --out is given.
//
// Beside the frames it writes index.html, a page that shows them all with what the plug-in could
// not read in the configuration. With --watch it renders again whenever a file of DIR is saved,
// and the open page follows, until Ctrl+C. --edit watches too, and serves the page on 127.0.0.1
// at an address with a random token, where the layout editor changes the settings files.
//
// The plug-in reads its configuration and texture dictionaries from tarvel_moravik\ beside the
// game's executable, so the preview gives it a game directory of its own: a temporary folder
// holding a copy of this program, the plug-in and DIR\tarvel_moravik, where a second run of
// this program plays. A dictionary DIR lacks is missing there too, as it would be in the game,
// unless --fill-art (or no --data: the project's own folder) fills it in from the project's art.
//
// Paths may hold any characters: they are taken from the wide command line, kept as UTF-8 and
// opened through the wide file calls.
#include "tools/preview/files/whole_files.h"
#include "tools/preview/run/console.h"
#include "tools/preview/run/game_directory.h"
#include "tools/preview/run/home.h"
#include "tools/preview/run/leftovers.h"
#include "tools/preview/run/play_inside.h"
#include "tools/preview/run/run_options.h"
#include "tools/preview/scenario/scenario.h"

#include "config/utf8_files.h"
#include "windows/windows_paths.h"

#include <windows.h>

#include <shellapi.h>

#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace preview;

namespace {

const char* const usage =
    "usage: preview [--data DIR] [--scenario FILE] [--size WxH]... [--out DIR] [--check] "
    "[--watch] [--edit] [--log FILE] [--fill-art]";

const char* const help =
    "Runs the HUD inside a simulated game through a scenario and writes what it drew.\n"
    "  --data DIR       a folder holding tarvel_moravik\\ (default: the shipped one)\n"
    "  --scenario FILE  what the game does and when the frames are taken\n"
    "                   (default: default.scenario)\n"
    "  --size WxH       a screen size; give it again for more (default: the scenario's)\n"
    "  --out DIR        where the frames and index.html go (default: this folder)\n"
    "  --check          lists what in the layout collides or is cut off and exits with 1\n"
    "                   when anything is; frames only with --out\n"
    "  --watch          renders again whenever a file of DIR is saved, until Ctrl+C\n"
    "  --edit           --watch, and serves the page on 127.0.0.1 (the address printed, with\n"
    "                   its token) to the layout editor, which writes DIR's settings files\n"
    "  --log FILE       copies the log the plug-in wrote during the run to FILE\n"
    "  --fill-art       a dictionary DIR lacks is drawn from the project's own art, not as\n"
    "                   missing as the game would (the default without --data)\n"
    "  --help           this text\n";

// The arguments as UTF-8, from the wide command line: the 8-bit one cannot spell every path.
std::vector<std::string> arguments() {
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> utf8;
    for (int i = 0; wide && i < count; ++i)
        utf8.push_back(utf8FromWide(wide[i]));
    LocalFree(wide);
    return utf8;
}

bool readOptions(const std::vector<std::string>& args, Options& options, std::string& error) {
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h" || arg == "/?") {
            options.help = true;
            return true;
        }
        const bool takesValue = arg == "--data" || arg == "--scenario" || arg == "--size" ||
                                arg == "--out" || arg == "--log" || arg == "--fonts" ||
                                arg == "--watcher" || arg == "--remove" || arg == "--after";
        if (arg == "--edit") {
            options.edit = options.watch = true;
            continue;
        }
        if (arg == "--play" || arg == "--check" || arg == "--watch" || arg == "--fill-art") {
            (arg == "--play"    ? options.play
             : arg == "--check" ? options.check
             : arg == "--watch" ? options.watch
                                : options.fillArt) = true;
            continue;
        }
        if (!takesValue) {
            error = "unknown option '" + arg + "'\n" + usage;
            return false;
        }
        if (i + 1 >= args.size()) {
            error = arg + " needs a value\n" + usage;
            return false;
        }
        const std::string& value = args[++i];
        if (arg == "--data") options.data = value;
        if (arg == "--scenario") options.scenario = value;
        if (arg == "--out") options.out = value;
        if (arg == "--log") options.log = value;
        if (arg == "--fonts") options.fonts = value;
        if (arg == "--watcher") options.watcher = value;
        if (arg == "--remove") options.remove = value;
        if (arg == "--after") options.after = value;
        if (arg == "--size") {
            Size size{};
            if (!parseSize(value, size.width, size.height)) {
                error = "bad size '" + value + "': expected WIDTHxHEIGHT, each 1 to 8192";
                return false;
            }
            options.sizes.push_back(size);
        }
    }
    return true;
}

// The options a run leaves out, from where this program lies and the scenario; false, with
// error set, when the folders or the scenario named cannot be used.
bool settle(Options& options, const Home& home, Scenario& scenario, std::string& error) {
    // The run inside plays in its own folder, which holds the configuration.
    if (options.play) options.data = utf8Of(home.folder);
    if (options.data.empty()) {
        options.data = utf8Of(home.shipped);
        options.fillArt = true;
    }
    if (options.scenario.empty()) options.scenario = utf8Of(home.scenario);

    const fs::path data = pathOf(options.data);
    std::error_code noData, noConfiguration;
    if (!fs::is_directory(data, noData)) {
        error = "no folder " + shown(options.data);
        return false;
    }
    if (!fs::is_directory(data / "tarvel_moravik", noConfiguration)) {
        error = shown(options.data) + " holds no tarvel_moravik folder";
        return false;
    }

    if (!readScenario(options.scenario, scenario, error)) {
        error = shown(error);
        return false;
    }
    if (options.sizes.empty()) options.sizes.push_back({scenario.width, scenario.height});

    if (options.out.empty() && (!options.check || options.watch)) options.out = ".";
    if (!options.out.empty()) {
        std::error_code notMade, notAFolder;
        fs::create_directories(pathOf(options.out), notMade);
        if (!fs::is_directory(pathOf(options.out), notAFolder)) {
            error = "cannot make the output folder " + shown(options.out);
            return false;
        }
    }
    if (options.play) return true;
    // The run inside starts in another folder: it is handed every path whole.
    for (std::string* path : {&options.data, &options.scenario, &options.log, &options.out}) {
        std::error_code unresolved;
        if (!path->empty()) *path = utf8Of(fs::absolute(pathOf(*path), unresolved));
    }
    return true;
}

} // namespace

int main() {
    Options options;
    std::string error;
    if (!readOptions(arguments(), options, error)) return fail(error);
    if (options.help) {
        say(stdout, "%s\n%s", usage, help);
        return 0;
    }
    if (!options.remove.empty()) return removeAfter(options.remove, options.after);

    const Home home = findHome(fs::path(modulePath()).parent_path());
    Scenario scenario;
    if (!settle(options, home, scenario, error)) return fail(error);
    return options.play ? playHere(options, scenario) : renderFromOutside(options, home);
}
