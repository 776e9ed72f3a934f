// preview: runs the real plug-in inside the simulated game through a scenario and writes what
// it drew as PNG frames.
//
//   preview [--data DIR] [--scenario FILE] [--size WxH]... [--out DIR] [--check] [--watch]
//
// --check reports, per capture and size, what the layout check finds and exits with 1 when it
// finds anything; it writes frames only when --out is given.
//
// Beside the frames it writes index.html, a page that shows them all with what the plug-in could
// not read in the configuration. With --watch it renders again whenever a file of DIR is saved,
// and the open page follows, until Ctrl+C.
//
// The plug-in reads its configuration and texture dictionaries from tarvel_moravik\ beside the
// game's executable, so the preview gives it a game directory of its own: a temporary folder
// holding a copy of this program, the plug-in and DIR\tarvel_moravik, where a second run of
// this program plays. A dictionary DIR lacks comes from the project's own art.
#include "tools/preview/layout_check.h"
#include "tools/preview/page.h"
#include "tools/preview/png_file.h"
#include "tools/preview/scenario_player.h"
#include "tools/preview/settings_problems.h"
#include "tools/preview/watch.h"

#include "sim/sim.h"
#include "texdict/texdict.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
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
    bool watch = false;
    bool play = false;   // the run inside the game directory: --play and --fonts
    std::string fonts;   // for the run inside
    std::string watcher; // the run inside under --watch: the watching process's id
};

const char* const usage =
    "usage: preview [--data DIR] [--scenario FILE] [--size WxH]... [--out DIR] [--check] "
    "[--watch]";

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
                                arg == "--out" || arg == "--fonts" || arg == "--watcher";
        if (arg == "--play" || arg == "--check" || arg == "--watch") {
            (arg == "--play"    ? options.play
             : arg == "--check" ? options.check
                                : options.watch) = true;
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
        if (arg == "--watcher") options.watcher = value;
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

std::string timeNow() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", now.wYear, now.wMonth,
                  now.wDay, now.wHour, now.wMinute, now.wSecond);
    return text;
}

// The frames of each size as last written, in the order of the sizes.
using FramesBySize = std::vector<std::vector<preview::PageFrame>>;

bool writePageData(const Options& options, const std::vector<preview::SettingsProblem>& problems,
                   const FramesBySize& framesBySize) {
    preview::PageData page;
    page.problems = problems;
    for (const auto& frames : framesBySize)
        page.frames.insert(page.frames.end(), frames.begin(), frames.end());
    page.rendered = timeNow();
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    page.stamp = static_cast<long long>(now.dwHighDateTime) << 32 | now.dwLowDateTime;
    std::string error;
    if (preview::writePageData(options.out, page, error)) return true;
    fail(error);
    return false;
}

// Plays every size once inside the game directory this program was copied to. The page is
// written again as each size is done, so that a watched layout shows at its first size soon.
int playSizes(const Options& options, const preview::Scenario& scenario,
              const preview::Fonts& fonts, FramesBySize& framesBySize) {
    const fs::path gameDirectory = fs::path(programPath()).parent_path();
    // Fresh for every render: a watched dictionary may have changed.
    preview::DictionaryTextures textures;
    const auto problems = preview::findSettingsProblems(gameDirectory.string() + "\\");
    framesBySize.resize(options.sizes.size());
    size_t captures = 0, findings = 0;
    for (size_t sizeIndex = 0; sizeIndex < options.sizes.size(); ++sizeIndex) {
        const Size& size = options.sizes[sizeIndex];
        std::vector<preview::PageFrame> frames;
        preview::PlayOptions play;
        play.width = size.width;
        play.height = size.height;
        play.fonts = &fonts;
        play.textures = &textures;
        // A capture's layout comes right after its frame; the page shows both.
        play.layout = [&](const preview::CaptureLayout& layout) {
            ++captures;
            if (!frames.empty()) frames.back().layout = layout;
            return !options.check || reportLayout(layout, findings);
        };
        if (!options.out.empty())
            play.capture = [&](const std::string& name, const preview::Image& frame) {
                const std::string image = name + "_" + sizeName(size) + ".png";
                const std::string file = options.out + "\\" + image;
                frames.push_back({image, {}});
                std::string error;
                if (!preview::writePng(file, frame, error)) {
                    std::fprintf(stderr, "preview: %s\n", error.c_str());
                    return false;
                }
                if (options.watcher.empty()) std::printf("%s\n", shown(file).c_str());
                std::fflush(stdout);
                return true;
            };
        std::string error;
        if (!preview::playScenario(scenario, play, error)) return fail(error);
        framesBySize[sizeIndex] = std::move(frames);
        if (!options.out.empty() && !writePageData(options, problems, framesBySize)) return 1;
    }
    if (!options.check) return 0;
    std::printf("layout check: %zu finding%s in %zu captures\n", findings, findings == 1 ? "" : "s",
                captures);
    return findings == 0 ? 0 : 1;
}

std::string eventName(DWORD process, const char* what) {
    return "tarvel_preview_" + std::to_string(process) + "_" + what;
}

// The run inside: plays once, or under --watch again on every request of the watching
// process, which ends it.
int playHere(const Options& options, const preview::Scenario& scenario) {
    preview::Fonts fonts;
    if (!fonts.load(options.fonts + "\\")) return fail("the fonts are missing in " + options.fonts);
    sim::setFaultHandler([](const std::string& fault) {
        std::fprintf(stderr, "preview: the game received %s\n", fault.c_str());
    });
    FramesBySize frames;
    if (options.watcher.empty()) return playSizes(options, scenario, fonts, frames);
    const auto watcher = static_cast<DWORD>(std::strtoul(options.watcher.c_str(), nullptr, 10));
    const HANDLE again = OpenEventA(SYNCHRONIZE, FALSE, eventName(watcher, "again").c_str());
    const HANDLE done = OpenEventA(EVENT_MODIFY_STATE, FALSE, eventName(watcher, "done").c_str());
    const HANDLE watching = OpenProcess(SYNCHRONIZE, FALSE, watcher);
    if (!again || !done || !watching) return fail("the watching process is gone");
    const HANDLE waits[] = {again, watching};
    do {
        playSizes(options, scenario, fonts, frames);
        SetEvent(done);
    } while (WaitForMultipleObjects(2, waits, FALSE, INFINITE) == WAIT_OBJECT_0);
    return 0;
}

// The project's own dictionaries are large: linked where the file system allows it.
void linkOrCopy(const fs::path& from, const fs::path& to, std::error_code& failure) {
    fs::create_hard_link(from, to, failure);
    if (failure) fs::copy_file(from, to, failure);
}

// The game loads a dictionary it cannot read as one without textures: say why. False when it
// cannot be read.
bool readableDictionary(const fs::path& file) {
    texdict::Dictionary dictionary;
    std::string error;
    if (texdict::readFile(file.string(), dictionary, error)) return true;
    std::fprintf(stderr, "preview: %s; the game would draw without its textures\n",
                 shown(error).c_str());
    return false;
}

// A game directory of its own, laid out in a temporary folder, and the run of this program
// inside it; both are cleared away with it.
class GameDirectory {
  public:
    explicit GameDirectory(const Options& options) : options_(options) {
        std::error_code failure;
        game_ = fs::temp_directory_path(failure) /
                ("tarvel_preview_" + std::to_string(GetCurrentProcessId()));
        fs::remove_all(game_, failure);
        fs::create_directories(game_, failure);
        const fs::path program = programPath();
        fs::copy_file(program, game_ / program.filename(), failure);
        for (const char* file : {"tarvel_hud.dll", "tarvel_hud.asi.debug"})
            if (!failure) fs::copy_file(program.parent_path() / file, game_ / file, failure);
        laidOut_ = !failure;
        if (options.watch) {
            const DWORD self = GetCurrentProcessId();
            again_ = CreateEventA(nullptr, FALSE, FALSE, eventName(self, "again").c_str());
            done_ = CreateEventA(nullptr, FALSE, FALSE, eventName(self, "done").c_str());
        }
    }

    ~GameDirectory() {
        end();
        if (again_) CloseHandle(again_);
        if (done_) CloseHandle(done_);
        std::error_code failure;
        fs::remove_all(game_, failure);
    }

    // Plays with the data folder as it is now: 0 when every frame was written.
    int render() {
        std::error_code failure;
        fs::remove_all(game_ / "tarvel_moravik", failure);
        fs::copy(fs::path(options_.data) / "tarvel_moravik", game_ / "tarvel_moravik",
                 fs::copy_options::recursive, failure);
        const fs::path home = fs::path(programPath()).parent_path();
        for (const char* file :
             {"tarvel_iii.txd", "ring_iii.txd", "radio_iii.txd", "phone_iii.txd"}) {
            if (!failure && !fs::exists(game_ / "tarvel_moravik" / file, failure))
                linkOrCopy(home / "dictionaries" / file, game_ / "tarvel_moravik" / file, failure);
            // One render refuses the folder; --watch goes on, since the file may be mid-edit.
            else if (!readableDictionary(fs::path(options_.data) / "tarvel_moravik" / file) &&
                     !options_.watch)
                return 1;
        }
        if (!laidOut_ || failure)
            return fail("cannot lay out a game directory in " + game_.string());
        if (!options_.watch) {
            if (!start()) return 1;
            WaitForSingleObject(process_.hProcess, INFINITE);
            DWORD exitCode = 1;
            GetExitCodeProcess(process_.hProcess, &exitCode);
            end();
            return static_cast<int>(exitCode);
        }
        if (process_.hProcess) {
            SetEvent(again_);
        } else if (!start()) {
            return 1;
        }
        const HANDLE waits[] = {done_, process_.hProcess};
        if (WaitForMultipleObjects(2, waits, FALSE, INFINITE) == WAIT_OBJECT_0) return 0;
        end();
        return 1;
    }

  private:
    bool start() {
        const fs::path program = programPath();
        const fs::path home = program.parent_path();
        std::string command = quoted((game_ / program.filename()).string()) + " --play";
        command += " --scenario " + quoted(options_.scenario);
        for (const Size& size : options_.sizes)
            command += " --size " + sizeName(size);
        if (!options_.out.empty()) command += " --out " + quoted(options_.out);
        if (options_.check) command += " --check";
        command += " --fonts " + quoted((home / "fonts").string());
        if (options_.watch) command += " --watcher " + std::to_string(GetCurrentProcessId());
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                            &startup, &process_)) {
            process_ = {};
            return fail("cannot start the game process") == 0;
        }
        CloseHandle(process_.hThread);
        return true;
    }

    void end() {
        if (!process_.hProcess) return;
        if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(process_.hProcess, 1);
            WaitForSingleObject(process_.hProcess, INFINITE);
        }
        CloseHandle(process_.hProcess);
        process_ = {};
    }

    const Options& options_;
    fs::path game_;
    bool laidOut_ = false;
    PROCESS_INFORMATION process_{};
    HANDLE again_ = nullptr;
    HANDLE done_ = nullptr;
};

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

    if (options.out.empty() && (!options.check || options.watch)) options.out = ".";
    if (!options.out.empty()) {
        fs::create_directories(options.out, failure);
        if (!fs::is_directory(options.out, failure))
            return fail("cannot make the output folder " + shown(options.out));
    }

    if (options.play) return playHere(options, scenario);
    options.data = fs::absolute(options.data, failure).string();
    options.scenario = fs::absolute(options.scenario, failure).string();
    std::string page;
    if (!options.out.empty()) {
        options.out = fs::absolute(options.out, failure).string();
        if (!preview::writePage((home / "page.html").string(), options.out, error))
            return fail(error);
        page = shown(options.out + "\\index.html");
        if (page.front() == '/') page = "file://" + page;
    }
    GameDirectory game(options);
    if (!options.watch) {
        const int result = game.render();
        if (!page.empty()) std::printf("%s\n", page.c_str());
        return result;
    }
    bool first = true;
    preview::watchFolder((fs::path(options.data) / "tarvel_moravik").string(), [&] {
        if (game.render() != 0) fail("the render failed; still watching");
        std::printf(first ? "open %s; it follows every save until Ctrl+C\n" : "rendered %s\n",
                    first ? page.c_str() : timeNow().c_str());
        std::fflush(stdout);
        first = false;
    });
    return 0;
}
