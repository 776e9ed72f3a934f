// preview: runs the real plug-in inside the simulated game through a scenario and writes what
// it drew as PNG frames.
//
//   preview [--data DIR] [--scenario FILE] [--size WxH]... [--out DIR] [--check]
//
// --check reports, per capture and size, what the layout check finds and exits with 1 when it
// finds anything; it writes frames only when --out is given.
//
// The plug-in reads its configuration and texture dictionaries from tarvel_moravik\ beside the
// game's executable, so the preview gives it a game directory of its own: a temporary folder
// holding a copy of this program, the plug-in and DIR\tarvel_moravik, where a second run of
// this program plays. A dictionary DIR lacks comes from the project's own art.
#include "tools/preview/layout_check.h"
#include "tools/preview/png_file.h"
#include "tools/preview/scenario_player.h"

#include "sim/sim.h"
#include "texdict/texdict.h"

#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Size {
    int width, height;
};

struct Options {
    std::string data;
    std::string scenario;
    std::vector<Size> sizes;
    std::string out; // "." unless checking
    bool check = false;
    bool play = false; // the run inside the game directory: --play and --fonts
    std::string fonts; // for the run inside
};

const char* const usage =
    "usage: preview [--data DIR] [--scenario FILE] [--size WxH]... [--out DIR] [--check]";

int fail(const std::string& message) {
    std::fprintf(stderr, "preview: %s\n", message.c_str());
    return 1;
}

std::string programPath() {
    char path[MAX_PATH * 4] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    return path;
}

// Paths on Wine's root drive are shown as the Unix paths they are.
std::string shown(std::string path) {
    if (path.size() > 2 && (path[0] == 'Z' || path[0] == 'z') && path[1] == ':') {
        path.erase(0, 2);
        for (auto& c : path)
            if (c == '\\') c = '/';
    }
    return path;
}

bool readOptions(int argc, char** argv, Options& options, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool takesValue = arg == "--data" || arg == "--scenario" || arg == "--size" ||
                                arg == "--out" || arg == "--fonts";
        if (arg == "--play" || arg == "--check") {
            (arg == "--play" ? options.play : options.check) = true;
            continue;
        }
        if (!takesValue) {
            error = "unknown option '" + arg + "'\n" + usage;
            return false;
        }
        if (i + 1 >= argc) {
            error = arg + " needs a value\n" + usage;
            return false;
        }
        const std::string value = argv[++i];
        if (arg == "--data") options.data = value;
        if (arg == "--scenario") options.scenario = value;
        if (arg == "--out") options.out = value;
        if (arg == "--fonts") options.fonts = value;
        if (arg == "--size") {
            Size size{};
            if (!preview::parseSize(value, size.width, size.height)) {
                error = "bad size '" + value + "': expected WIDTHxHEIGHT, each 1 to 8192";
                return false;
            }
            options.sizes.push_back(size);
        }
    }
    return true;
}

std::string quoted(const std::string& text) {
    return "\"" + text + "\"";
}

std::string sizeName(const Size& size) {
    return std::to_string(size.width) + "x" + std::to_string(size.height);
}

// Prints what the check found in one capture; counts the findings.
bool reportLayout(const preview::CaptureLayout& layout, size_t& findings) {
    if (layout.findings.empty()) return true;
    std::printf("%s %dx%d:\n", layout.capture.c_str(), layout.width, layout.height);
    for (const auto& finding : layout.findings)
        std::printf("  %s\n", finding.message.c_str());
    std::fflush(stdout);
    findings += layout.findings.size();
    return true;
}

// Plays every size inside the game directory this program was copied to.
int playHere(const Options& options, const preview::Scenario& scenario) {
    preview::Fonts fonts;
    if (!fonts.load(options.fonts + "\\")) return fail("the fonts are missing in " + options.fonts);
    preview::DictionaryTextures textures;
    sim::setFaultHandler([](const std::string& fault) {
        std::fprintf(stderr, "preview: the game received %s\n", fault.c_str());
    });
    size_t captures = 0, findings = 0;
    for (const Size& size : options.sizes) {
        preview::PlayOptions play;
        play.width = size.width;
        play.height = size.height;
        play.fonts = &fonts;
        play.textures = &textures;
        if (options.check)
            play.layout = [&](const preview::CaptureLayout& layout) {
                ++captures;
                return reportLayout(layout, findings);
            };
        if (!options.out.empty())
            play.capture = [&](const std::string& name, const preview::Image& frame) {
                const std::string file = options.out + "\\" + name + "_" + sizeName(size) + ".png";
                std::string error;
                if (!preview::writePng(file, frame, error)) {
                    std::fprintf(stderr, "preview: %s\n", error.c_str());
                    return false;
                }
                std::printf("%s\n", shown(file).c_str());
                std::fflush(stdout);
                return true;
            };
        std::string error;
        if (!preview::playScenario(scenario, play, error)) return fail(error);
    }
    if (!options.check) return 0;
    std::printf("layout check: %zu finding%s in %zu captures\n", findings, findings == 1 ? "" : "s",
                captures);
    return findings == 0 ? 0 : 1;
}

// The project's own dictionaries are large: linked where the file system allows it.
void linkOrCopy(const fs::path& from, const fs::path& to, std::error_code& failure) {
    fs::create_hard_link(from, to, failure);
    if (failure) fs::copy_file(from, to, failure);
}

// The game loads a dictionary it cannot read as one without textures: say why.
void warnIfUnreadable(const fs::path& file) {
    texdict::Dictionary dictionary;
    std::string error;
    if (!texdict::readFile(file.string(), dictionary, error))
        std::fprintf(stderr, "preview: %s; the game would draw without its textures\n",
                     shown(error).c_str());
}

// Lays out a game directory, plays there in a second process, and clears it away.
int playInGameDirectory(const Options& options) {
    const fs::path program = programPath();
    const fs::path home = program.parent_path();
    std::error_code failure;
    const fs::path game = fs::temp_directory_path(failure) /
                          ("tarvel_preview_" + std::to_string(GetCurrentProcessId()));
    fs::remove_all(game, failure);
    fs::create_directories(game, failure);
    fs::copy_file(program, game / program.filename(), failure);
    for (const char* file : {"tarvel_hud.dll", "tarvel_hud.dll.debug"})
        if (!failure) fs::copy_file(home / file, game / file, failure);
    if (!failure)
        fs::copy(fs::path(options.data) / "tarvel_moravik", game / "tarvel_moravik",
                 fs::copy_options::recursive, failure);
    for (const char* file : {"tarvel_iii.txd", "ring_iii.txd", "radio_iii.txd", "phone_iii.txd"}) {
        if (!failure && !fs::exists(game / "tarvel_moravik" / file, failure))
            linkOrCopy(home / "dictionaries" / file, game / "tarvel_moravik" / file, failure);
        else
            warnIfUnreadable(fs::path(options.data) / "tarvel_moravik" / file);
    }
    if (failure) {
        fs::remove_all(game, failure);
        return fail("cannot lay out a game directory in " + game.string());
    }

    std::string command = quoted((game / program.filename()).string()) + " --play";
    command += " --scenario " + quoted(options.scenario);
    for (const Size& size : options.sizes)
        command += " --size " + sizeName(size);
    if (!options.out.empty()) command += " --out " + quoted(options.out);
    if (options.check) command += " --check";
    command += " --fonts " + quoted((home / "fonts").string());

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    DWORD exitCode = 1;
    if (CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                       &startup, &process)) {
        WaitForSingleObject(process.hProcess, INFINITE);
        GetExitCodeProcess(process.hProcess, &exitCode);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    } else {
        fail("cannot start the game process");
    }
    fs::remove_all(game, failure);
    return static_cast<int>(exitCode);
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    std::string error;
    if (!readOptions(argc, argv, options, error)) return fail(error);

    const fs::path home = fs::path(programPath()).parent_path();
    // The run inside plays in its own folder, which holds the configuration.
    if (options.play) options.data = home.string();
    if (options.data.empty()) options.data = (home / "shipped").string();
    if (options.scenario.empty())
        options.scenario = (home / "shipped" / "default.scenario").string();

    std::error_code failure;
    if (!fs::is_directory(options.data, failure)) return fail("no folder " + shown(options.data));
    if (!fs::is_directory(fs::path(options.data) / "tarvel_moravik", failure))
        return fail(shown(options.data) + " holds no tarvel_moravik folder");

    preview::Scenario scenario;
    if (!preview::readScenario(options.scenario, scenario, error)) return fail(shown(error));
    if (options.sizes.empty()) options.sizes.push_back({scenario.width, scenario.height});

    if (options.out.empty() && !options.check) options.out = ".";
    if (!options.out.empty()) {
        fs::create_directories(options.out, failure);
        if (!fs::is_directory(options.out, failure))
            return fail("cannot make the output folder " + shown(options.out));
    }

    if (options.play) return playHere(options, scenario);
    options.data = fs::absolute(options.data, failure).string();
    options.scenario = fs::absolute(options.scenario, failure).string();
    return playInGameDirectory(options);
}
