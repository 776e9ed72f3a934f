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

#include <algorithm>
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

// The first of the paths that exists, or the first when none does.
fs::path firstExisting(std::initializer_list<fs::path> paths) {
    std::error_code failure;
    for (const auto& path : paths)
        if (fs::exists(path, failure)) return path;
    return *paths.begin();
}

// What this program renders with lies beside it in the build, and in the release it ships in
// tools\ inside the folder a player installs: the plug-in (tarvel_hud.asi or tarvel_hud.dll),
// the configuration and its dictionaries one folder up.
struct Home {
    fs::path folder;   // this program's
    fs::path plugin;   // the plug-in to render with
    fs::path symbols;  // its symbol table, which tells the HUD's elements apart
    fs::path shipped;  // a folder holding the shipped tarvel_moravik folder
    fs::path scenario; // the default scenario
    fs::path dictionaries;
};

Home findHome(const fs::path& folder) {
    const fs::path release = folder.parent_path();
    Home home;
    home.folder = folder;
    home.plugin = firstExisting(
        {folder / "tarvel_hud.dll", release / "tarvel_hud.asi", release / "tarvel_hud.dll"});
    home.symbols = firstExisting({folder / "tarvel_hud.asi.debug", folder / "tarvel_hud.symbols"});
    home.shipped = firstExisting({folder / "shipped", release});
    home.scenario =
        firstExisting({folder / "shipped" / "default.scenario", folder / "default.scenario"});
    home.dictionaries = firstExisting({folder / "dictionaries", release / "tarvel_moravik"});
    return home;
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

// What the check found, each problem once with the captures and sizes it was seen in.
struct CheckReport {
    using Sizes = std::vector<std::string>;
    struct Seen {
        preview::LayoutFinding finding;
        std::vector<std::pair<std::string, Sizes>> captures; // each capture with its sizes
    };
    std::vector<Seen> layout;
    std::vector<std::string> missingTextures; // "dictionary/name", each once
    size_t captures = 0;

    void add(const preview::CaptureLayout& capture) {
        ++captures;
        const std::string size = sizeName({capture.width, capture.height});
        for (const auto& finding : capture.findings) {
            auto seen = std::find_if(layout.begin(), layout.end(), [&](const Seen& s) {
                return s.finding.problem == finding.problem;
            });
            if (seen == layout.end()) seen = layout.insert(layout.end(), Seen{finding, {}});
            auto in = std::find_if(seen->captures.begin(), seen->captures.end(),
                                   [&](const auto& c) { return c.first == capture.capture; });
            if (in == seen->captures.end())
                in = seen->captures.insert(seen->captures.end(), {capture.capture, Sizes{}});
            if (std::find(in->second.begin(), in->second.end(), size) == in->second.end())
                in->second.push_back(size);
        }
    }

    void addMissing(const std::vector<std::string>& textures) {
        for (const auto& texture : textures)
            if (std::find(missingTextures.begin(), missingTextures.end(), texture) ==
                missingTextures.end())
                missingTextures.push_back(texture);
    }

    // Prints every problem; the number of them.
    size_t print(const std::vector<preview::SettingsProblem>& settings) const {
        for (const auto& problem : settings) {
            if (problem.line > 0)
                std::printf("%s line %d: %s\n", problem.file.c_str(), problem.line,
                            problem.text.c_str());
            std::printf("%s%s\n", problem.line > 0 ? "  " : "", problem.message.c_str());
        }
        for (const auto& texture : missingTextures) {
            const size_t slash = texture.find('/');
            std::printf("tarvel_moravik\\%s.txd lacks the texture \"%s\" the HUD looks up: what "
                        "uses it is drawn without a picture\n",
                        texture.substr(0, slash).c_str(), texture.substr(slash + 1).c_str());
        }
        for (const auto& seen : layout) {
            std::printf("%s\n", seen.finding.message.c_str());
            if (!seen.finding.keys.empty()) std::printf("  keys: %s\n", seen.finding.keys.c_str());
            std::string where;
            for (const auto& [capture, sizes] : seen.captures) {
                where += (where.empty() ? "" : "; ") + capture + " at ";
                for (size_t i = 0; i < sizes.size(); ++i)
                    where += (i ? ", " : "") + sizes[i];
            }
            std::printf("  seen in %s\n", where.c_str());
        }
        const size_t problems = settings.size() + missingTextures.size() + layout.size();
        std::printf("layout check: %zu problem%s (%zu in the settings, %zu missing texture%s, %zu "
                    "in the layout of %zu captures)\n",
                    problems, problems == 1 ? "" : "s", settings.size(), missingTextures.size(),
                    missingTextures.size() == 1 ? "" : "s", layout.size(), captures);
        std::fflush(stdout);
        return problems;
    }
};

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
    CheckReport report;
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
            if (!frames.empty()) frames.back().layout = layout;
            report.add(layout);
            return true;
        };
        std::vector<std::string> missingTextures;
        play.missingTextures = &missingTextures;
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
        report.addMissing(missingTextures);
        framesBySize[sizeIndex] = std::move(frames);
        if (!options.out.empty() && !writePageData(options, problems, framesBySize)) return 1;
    }
    if (!options.check) return 0;
    return report.print(problems) == 0 ? 0 : 1;
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
    // The watching process is gone, perhaps killed before it could clear the game directory
    // away: all of it but this running program goes now, the rest with the next run's start.
    const fs::path self = programPath();
    std::error_code failure;
    for (fs::directory_iterator it(self.parent_path(), failure), end; !failure && it != end;
         it.increment(failure)) {
        std::error_code ignored;
        if (it->path().filename() != self.filename()) fs::remove_all(it->path(), ignored);
    }
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

constexpr char gameDirectoryPrefix[] = "tarvel_preview_";
constexpr char inUseFile[] = "in_use";

// Game directories that earlier runs left behind when they were killed: their in_use file is
// no longer held open (or, from runs that made none, their process is gone).
void removeStaleGameDirectories(const fs::path& temporary) {
    std::error_code failure;
    for (fs::directory_iterator it(temporary, failure), end; !failure && it != end;
         it.increment(failure)) {
        const std::string name = it->path().filename().string();
        if (name.rfind(gameDirectoryPrefix, 0) != 0 || !it->is_directory(failure)) continue;
        const fs::path lock = it->path() / inUseFile;
        bool stale = false;
        if (fs::exists(lock, failure)) {
            stale = DeleteFileW(lock.c_str()) != 0;
        } else {
            const auto process = static_cast<DWORD>(
                std::strtoul(name.c_str() + sizeof gameDirectoryPrefix - 1, nullptr, 10));
            const HANDLE running = OpenProcess(SYNCHRONIZE, FALSE, process);
            stale = !running;
            if (running) CloseHandle(running);
        }
        std::error_code ignored;
        if (stale) fs::remove_all(it->path(), ignored);
        failure.clear();
    }
}

// A game directory of its own, laid out in a temporary folder, and the run of this program
// inside it; both are cleared away with it.
class GameDirectory {
  public:
    GameDirectory(const Options& options, const Home& home) : options_(options), home_(home) {
        std::error_code failure;
        const fs::path temporary = fs::temp_directory_path(failure);
        removeStaleGameDirectories(temporary);
        game_ = temporary / (gameDirectoryPrefix + std::to_string(GetCurrentProcessId()));
        fs::remove_all(game_, failure);
        fs::create_directories(game_, failure);
        // Held open while this run lasts: a later run removes the folder only once it is gone.
        inUse_ = CreateFileW((game_ / inUseFile).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
        const fs::path program = programPath();
        fs::copy_file(program, game_ / program.filename(), failure);
        if (!failure) fs::copy_file(home.plugin, game_ / "tarvel_hud.dll", failure);
        if (!failure && fs::exists(home.symbols, failure))
            fs::copy_file(home.symbols, game_ / "tarvel_hud.dll.debug", failure);
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
        if (inUse_ != INVALID_HANDLE_VALUE) CloseHandle(inUse_);
        std::error_code failure;
        fs::remove_all(game_, failure);
    }

    // Plays with the data folder as it is now: 0 when every frame was written.
    int render() {
        std::error_code failure;
        fs::remove_all(game_ / "tarvel_moravik", failure);
        fs::copy(fs::path(options_.data) / "tarvel_moravik", game_ / "tarvel_moravik",
                 fs::copy_options::recursive, failure);
        for (const char* file :
             {"tarvel_iii.txd", "ring_iii.txd", "radio_iii.txd", "phone_iii.txd"}) {
            if (!failure && !fs::exists(game_ / "tarvel_moravik" / file, failure))
                linkOrCopy(home_.dictionaries / file, game_ / "tarvel_moravik" / file, failure);
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
        const fs::path& home = home_.folder;
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
    const Home& home_;
    fs::path game_;
    HANDLE inUse_ = INVALID_HANDLE_VALUE;
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
    const Home found = findHome(home);
    if (options.data.empty()) options.data = found.shipped.string();
    if (options.scenario.empty()) options.scenario = found.scenario.string();

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
    GameDirectory game(options, found);
    if (!options.watch) {
        const int result = game.render();
        if (!page.empty()) std::printf("%s\n", page.c_str());
        return result;
    }
    bool first = true;
    preview::watchFolder((fs::path(options.data) / "tarvel_moravik").string(), [&] {
        if (game.render() != 0) fail("the render failed; still watching");
        if (first) std::printf("open %s; it follows every save until Ctrl+C\n", page.c_str());
        std::printf("rendered %s\n", timeNow().c_str());
        std::fflush(stdout);
        first = false;
    });
    return 0;
}
