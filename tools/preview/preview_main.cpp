// preview: runs the real plug-in inside the simulated game through a scenario and writes what
// it drew as PNG frames.
//
//   preview [--data DIR] [--scenario FILE] [--size WxH]... [--out DIR] [--check] [--watch]
//           [--log FILE] [--fill-art]
//
// Every run lists what the HUD cannot use in the settings, the textures it looks up that the
// dictionaries lack and what the layout check finds, and the page says the same.
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
// this program plays. A dictionary DIR lacks is missing there too, as it would be in the game,
// unless --fill-art (or no --data: the project's own folder) fills it in from the project's art.
//
// Paths may hold any characters: they are taken from the wide command line, kept as UTF-8 and
// opened through the wide file calls.
#include "tools/preview/layout_check.h"
#include "tools/preview/page.h"
#include "tools/preview/png_file.h"
#include "tools/preview/scenario_player.h"
#include "tools/preview/settings_problems.h"
#include "tools/preview/watch.h"

#include "config/utf8_files.h"
#include "sim/sim.h"
#include "texdict/texdict.h"

#include <windows.h>

#include <shellapi.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

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
    bool help = false;
    bool fillArt = false; // a dictionary DIR lacks comes from the project's own art
    bool play = false;    // the run inside the game directory: --play and --fonts
    std::string fonts;    // for the run inside
    std::string watcher;  // the run inside under --watch: the watching process's id
    std::string remove;   // a game directory to remove once the process of handle --after ends
    std::string after;
};

const char* const usage =
    "usage: preview [--data DIR] [--scenario FILE] [--size WxH]... [--out DIR] [--check] "
    "[--watch] [--log FILE] [--fill-art]";

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
    "  --log FILE       copies the log the plug-in wrote during the run to FILE\n"
    "  --fill-art       a dictionary DIR lacks is drawn from the project's own art, not as\n"
    "                   missing as the game would (the default without --data)\n"
    "  --help           this text\n";

// Prints UTF-8 text: to a console as its characters, whatever its code page (the C runtime
// would take the bytes for characters of the system's code page); elsewhere as UTF-8.
__attribute__((format(printf, 2, 3))) void say(std::FILE* stream, const char* format, ...) {
    va_list values;
    va_start(values, format);
    const int length = std::vsnprintf(nullptr, 0, format, values);
    va_end(values);
    if (length < 0) return;
    std::string text(static_cast<size_t>(length) + 1, '\0');
    va_start(values, format);
    std::vsnprintf(text.data(), text.size(), format, values);
    va_end(values);
    text.pop_back();
    const HANDLE handle = GetStdHandle(stream == stderr ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    if (!GetConsoleMode(handle, &mode)) {
        std::fputs(text.c_str(), stream);
        std::fflush(stream); // a pipe's stderr is buffered, and --watch may be killed
        return;
    }
    std::fflush(stream);
    const std::wstring wide = wideFromUtf8(text);
    DWORD written = 0;
    WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
}

int fail(const std::string& message) {
    say(stderr, "preview: %s\n", message.c_str());
    return 1;
}

fs::path programPath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) return path.substr(0, length);
        path.resize(path.size() * 2);
    }
}

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

// Paths on Wine's root drive are shown as the Unix paths they are.
std::string shown(std::string path) {
    if (path.size() > 2 && (path[0] == 'Z' || path[0] == 'z') && path[1] == ':') {
        path.erase(0, 2);
        for (auto& c : path)
            if (c == '\\') c = '/';
    }
    return path;
}

// The address of a file for a browser: every byte but letters, digits and -._~/: escaped, so
// that a terminal takes it whole.
std::string fileAddress(const std::string& path) {
    std::string shownPath = shown(path);
    if (shownPath.front() != '/') {
        for (auto& c : shownPath)
            if (c == '\\') c = '/';
        shownPath.insert(0, "/");
    }
    std::string address = "file://";
    for (const char c : shownPath) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
            (byte >= '0' && byte <= '9') || std::strchr("-._~/:", byte)) {
            address += c;
        } else {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", byte);
            address += escaped;
        }
    }
    return address;
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
            if (!preview::parseSize(value, size.width, size.height)) {
                error = "bad size '" + value + "': expected WIDTHxHEIGHT, each 1 to 8192";
                return false;
            }
            options.sizes.push_back(size);
        }
    }
    return true;
}

// One argument of a command line: backslashes before a quote are doubled, so that a folder
// ending in one stays a folder.
std::string quoted(const std::string& text) {
    std::string out = "\"";
    size_t backslashes = 0;
    for (const char c : text) {
        if (c == '"') out.append(backslashes + 1, '\\');
        backslashes = c == '\\' ? backslashes + 1 : 0;
        out += c;
    }
    return out.append(backslashes, '\\') + "\"";
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
    // The dictionaries the game loads as holding nothing, by name, with why ("is missing").
    std::vector<std::pair<std::string, std::string>> unusableDictionaries;
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

    // What the console says of each missing texture, and the page too: those of a dictionary
    // the game cannot use at all in one line.
    std::vector<std::string> missingTextureLines() const {
        std::vector<std::string> lines;
        const auto dictionaryOf = [](const std::string& texture) {
            return texture.substr(0, texture.find('/'));
        };
        for (const auto& [dictionary, why] : unusableDictionaries) {
            std::string names;
            size_t count = 0;
            for (const auto& texture : missingTextures)
                if (dictionaryOf(texture) == dictionary)
                    names += (count++ ? ", " : "") + texture.substr(dictionary.size() + 1);
            if (count > 0)
                lines.push_back("tarvel_moravik\\" + dictionary + ".txd " + why + ": the " +
                                std::to_string(count) +
                                " textures the HUD looks up in it are drawn without a picture (" +
                                names + ")");
        }
        for (const auto& texture : missingTextures) {
            const std::string dictionary = dictionaryOf(texture);
            if (std::any_of(unusableDictionaries.begin(), unusableDictionaries.end(),
                            [&](const auto& unusable) { return unusable.first == dictionary; }))
                continue;
            lines.push_back("tarvel_moravik\\" + dictionary + ".txd lacks the texture \"" +
                            texture.substr(dictionary.size() + 1) +
                            "\" the HUD looks up: what uses it is drawn without a picture");
        }
        return lines;
    }

    size_t problems(const std::vector<preview::SettingsProblem>& settings) const {
        return settings.size() + missingTextures.size() + layout.size();
    }

    // The last line of the report, and the page's summary.
    std::string summary(const std::vector<preview::SettingsProblem>& settings) const {
        const size_t found = problems(settings);
        const auto plural = [](size_t count) { return count == 1 ? "" : "s"; };
        char line[256];
        std::snprintf(line, sizeof line,
                      "layout check: %zu problem%s (%zu in the settings, %zu missing texture%s, "
                      "%zu in the layout of %zu captures)",
                      found, plural(found), settings.size(), missingTextures.size(),
                      plural(missingTextures.size()), layout.size(), captures);
        return line;
    }

    // Prints every problem; the number of them.
    size_t print(const std::vector<preview::SettingsProblem>& settings) const {
        for (const auto& problem : settings) {
            if (problem.line > 0)
                say(stdout, "%s line %d: %s\n", problem.file.c_str(), problem.line,
                    problem.text.c_str());
            say(stdout, "%s%s\n", problem.line > 0 ? "  " : "", problem.message.c_str());
        }
        for (const auto& line : missingTextureLines())
            say(stdout, "%s\n", line.c_str());
        for (const auto& seen : layout) {
            say(stdout, "%s\n", seen.finding.message.c_str());
            if (!seen.finding.keys.empty()) say(stdout, "  keys: %s\n", seen.finding.keys.c_str());
            std::string where;
            for (const auto& [capture, sizes] : seen.captures) {
                where += (where.empty() ? "" : "; ") + capture + " at ";
                for (size_t i = 0; i < sizes.size(); ++i)
                    where += (i ? ", " : "") + sizes[i];
            }
            say(stdout, "  seen in %s\n", where.c_str());
        }
        say(stdout, "%s\n", summary(settings).c_str());
        std::fflush(stdout);
        return problems(settings);
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
                   const std::vector<preview::SettingsLines>& lines, const CheckReport& report,
                   const FramesBySize& framesBySize) {
    preview::PageData page;
    page.problems = problems;
    page.settingsLines = lines;
    page.missingTextures = report.missingTextureLines();
    page.summary = report.summary(problems);
    page.problemCount = report.problems(problems);
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

constexpr const char* dictionaryNames[] = {"tarvel_iii", "ring_iii", "radio_iii", "phone_iii"};

// The dictionaries of the game directory that the game loads as holding nothing, with why.
std::vector<std::pair<std::string, std::string>> unusableDictionaries(const fs::path& folder) {
    std::vector<std::pair<std::string, std::string>> unusable;
    for (const std::string name : dictionaryNames) {
        const fs::path file = folder / (name + ".txd");
        std::error_code failure;
        std::string bytes, error = "it cannot be opened";
        texdict::Dictionary dictionary;
        if (!fs::exists(file, failure))
            unusable.emplace_back(name, "is missing");
        else if (!preview::readWholeFile(preview::utf8Of(file), bytes) ||
                 !texdict::read({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()},
                                dictionary, error))
            unusable.emplace_back(name, "cannot be read (" + error + ")");
    }
    return unusable;
}

// Plays every size once inside the game directory this program was copied to. The page is
// written again as each size is done, so that a watched layout shows at its first size soon.
int playSizes(const Options& options, const preview::Scenario& scenario,
              const preview::Fonts& fonts, FramesBySize& framesBySize) {
    const fs::path gameDirectory = programPath().parent_path();
    // Fresh for every render: a watched dictionary may have changed.
    preview::DictionaryTextures textures;
    const auto problems = preview::findSettingsProblems(preview::utf8Of(gameDirectory) + "\\");
    const auto lines = preview::countSettingsLines(preview::utf8Of(gameDirectory) + "\\");
    framesBySize.resize(options.sizes.size());
    CheckReport report;
    report.unusableDictionaries = unusableDictionaries(gameDirectory / "tarvel_moravik");
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
                    say(stderr, "preview: %s\n", error.c_str());
                    return false;
                }
                if (options.watcher.empty()) say(stdout, "%s\n", shown(file).c_str());
                std::fflush(stdout);
                return true;
            };
        std::string error;
        if (!preview::playScenario(scenario, play, error)) return fail(error);
        report.addMissing(missingTextures);
        framesBySize[sizeIndex] = std::move(frames);
        if (!options.out.empty() && !writePageData(options, problems, lines, report, framesBySize))
            return 1;
    }
    std::printf("%s\n", preview::settingsLinesNote(lines).c_str());
    const size_t found = report.print(problems);
    return options.check && found > 0 ? 1 : 0;
}

std::string eventName(DWORD process, const char* what) {
    return "tarvel_preview_" + std::to_string(process) + "_" + what;
}

constexpr wchar_t gameDirectoryPrefix[] = L"tarvel_preview_";

// Under Wine a delete fails while another program opens any link to the same file, as a
// second preview linking the same dictionaries does: tried again for a few seconds.
void removePatiently(const fs::path& path) {
    std::error_code failure;
    for (int attempt = 0; attempt < 100; ++attempt) {
        fs::remove_all(path, failure);
        if (!fs::exists(path, failure)) return;
        Sleep(50);
    }
}

// Starts the preview of the folder this game directory was laid out from, to remove the game
// directory once this run inside it has ended: a running program cannot delete itself.
void removeOnceEnded(const fs::path& gameDirectory, const fs::path& program) {
    HANDLE self = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), &self,
                         SYNCHRONIZE, TRUE, 0))
        return;
    std::wstring command = wideFromUtf8(quoted(preview::utf8Of(program)) + " --remove " +
                                        quoted(preview::utf8Of(gameDirectory)) + " --after " +
                                        std::to_string(reinterpret_cast<uintptr_t>(self)));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                       program.parent_path().c_str(), &startup, &process)) {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
}

// The run started by removeOnceEnded.
int removeAfter(const Options& options) {
    const fs::path folder = preview::pathOf(options.remove);
    if (folder.filename().wstring().rfind(gameDirectoryPrefix, 0) != 0)
        return fail("--remove takes a game directory of the preview");
    const auto process = reinterpret_cast<HANDLE>(
        static_cast<uintptr_t>(std::strtoull(options.after.c_str(), nullptr, 10)));
    WaitForSingleObject(process, INFINITE);
    removePatiently(folder);
    return 0;
}

// The run inside: plays once, or under --watch again on every request of the watching
// process, which ends it.
int playHere(const Options& options, const preview::Scenario& scenario) {
    preview::Fonts fonts;
    if (!fonts.load(options.fonts + "\\")) return fail("the fonts are missing in " + options.fonts);
    sim::setFaultHandler([](const std::string& fault) {
        say(stderr, "preview: the game received %s\n", fault.c_str());
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
    // away: the preview it was copied from does that once this run has ended.
    const fs::path self = programPath();
    removeOnceEnded(self.parent_path(),
                    preview::pathOf(options.fonts).parent_path() / self.filename());
    return 0;
}

// Clears the read-only mark, which would keep the file in the temp folder.
void writable(const fs::path& file) {
    const DWORD attributes = GetFileAttributesW(file.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        SetFileAttributesW(file.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
}

// A copy without the read-only mark a file of the data folder (or of the release) may carry.
void copyWritable(const fs::path& from, const fs::path& to, std::error_code& failure) {
    fs::copy_file(from, to, failure);
    if (!failure) writable(to);
}

// The project's own dictionaries are large: linked where the file system allows it, unless
// read-only (a link shares the mark).
void linkOrCopy(const fs::path& from, const fs::path& to, std::error_code& failure) {
    const DWORD attributes = GetFileAttributesW(from.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_READONLY)) {
        fs::create_hard_link(from, to, failure);
        if (!failure) return;
    }
    copyWritable(from, to, failure);
}

// Whether another program holds the file open and lets no one read it.
bool heldByAnother(const fs::path& file) {
    const HANDLE handle = CreateFileW(file.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle != INVALID_HANDLE_VALUE) {
        CloseHandle(handle);
        return false;
    }
    const DWORD error = GetLastError();
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}

// Waits, as --watch does for a settings file, for another program to let go of the file; false
// when it still holds it.
bool heldThroughTheWait(const fs::path& file) {
    const ULONGLONG start = GetTickCount64();
    while (heldByAnother(file)) {
        if (GetTickCount64() - start >= preview::unreadableMilliseconds) return true;
        Sleep(50);
    }
    return false;
}

// Whether every character of the path has a place in the system's 8-bit code page.
bool spelledIn8Bits(const std::wstring& path) {
    std::string bytes(path.size() * 4 + 1, '\0');
    BOOL lossy = FALSE;
    const int length =
        WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, path.c_str(), -1, bytes.data(),
                            static_cast<int>(bytes.size()), nullptr, &lossy);
    return length > 0 && !lossy;
}

// A path from a call that returns the length it needs when the buffer is too small; empty when
// the call fails.
template <typename Call> std::wstring grownPath(Call call) {
    std::wstring path(MAX_PATH + 1, L'\0');
    DWORD length = call(path.data(), static_cast<DWORD>(path.size()));
    if (length >= path.size()) {
        path.resize(length + 1);
        length = call(path.data(), static_cast<DWORD>(path.size()));
    }
    path.resize(length < path.size() ? length : 0);
    return path;
}

// The longest path under the temporary folder that the game is handed: its game directory
// (tarvel_preview_4294967295\tarvel_moravik\) and a file name of the data folder.
constexpr size_t gameDirectoryRoom = 26 + 15 + 64;

// The temporary folder, in its short form when only that can be spelt in 8 bits or is short
// enough: the game hands its files' paths around as 8-bit text of at most MAX_PATH characters,
// so its directory must be reachable so. Empty, with why, when it is not.
fs::path temporaryFolder(std::string& error) {
    std::wstring path =
        grownPath([](wchar_t* buffer, DWORD size) { return GetTempPathW(size, buffer); });
    // The system gives none when the folder's path is longer than it takes: found as it would be.
    for (const wchar_t* variable : {L"TMP", L"TEMP"})
        if (path.empty())
            path = grownPath([&](wchar_t* buffer, DWORD size) {
                return GetEnvironmentVariableW(variable, buffer, size);
            });
    if (path.empty()) {
        error = "the system names no temp folder (set TEMP to a folder)";
        return {};
    }
    const auto fits = [](const std::wstring& folder) {
        return folder.size() + gameDirectoryRoom < MAX_PATH && spelledIn8Bits(folder);
    };
    if (fits(path)) return path;
    const std::wstring brief = grownPath(
        [&](wchar_t* buffer, DWORD size) { return GetShortPathNameW(path.c_str(), buffer, size); });
    if (!brief.empty() && fits(brief)) return brief;
    if (spelledIn8Bits(path) || spelledIn8Bits(brief)) {
        error = "the temp folder " + shown(utf8FromWide(path)) + " has a path of " +
                std::to_string(path.size()) + " characters, too long for the game's file calls (" +
                std::to_string(MAX_PATH - gameDirectoryRoom) +
                " at most): set TEMP to a folder of a shorter path";
        return {};
    }
    return path;
}

constexpr char inUseFile[] = "in_use";

// Game directories that earlier runs left behind when they were killed: their in_use file is
// no longer held open (or, from runs that made none, their process is gone).
void removeStaleGameDirectories(const fs::path& temporary) {
    std::error_code failure;
    for (fs::directory_iterator it(temporary, failure), end; !failure && it != end;
         it.increment(failure)) {
        const std::wstring name = it->path().filename().wstring();
        if (name.rfind(gameDirectoryPrefix, 0) != 0 || !it->is_directory(failure)) continue;
        const fs::path lock = it->path() / inUseFile;
        bool stale = false;
        if (fs::exists(lock, failure)) {
            stale = DeleteFileW(lock.c_str()) != 0;
        } else {
            const auto process = static_cast<DWORD>(
                std::wcstoul(name.c_str() + std::size(gameDirectoryPrefix) - 1, nullptr, 10));
            const HANDLE running = OpenProcess(SYNCHRONIZE, FALSE, process);
            stale = !running;
            if (running) CloseHandle(running);
        }
        // Earlier versions copied the read-only mark of a file of the data folder.
        for (fs::recursive_directory_iterator file(it->path(), failure), none;
             stale && !failure && file != none; file.increment(failure))
            writable(file->path());
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
        const fs::path temporary = temporaryFolder(problem_);
        if (temporary.empty()) return;
        removeStaleGameDirectories(temporary);
        game_ = temporary / (gameDirectoryPrefix + std::to_wstring(GetCurrentProcessId()));
        fs::remove_all(game_, failure);
        fs::create_directories(game_, failure);
        // Held open while this run lasts: a later run removes the folder only once it is gone.
        inUse_ = CreateFileW((game_ / inUseFile).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
        const fs::path program = programPath();
        copyWritable(program, game_ / program.filename(), failure);
        if (!failure) copyWritable(home.plugin, game_ / "tarvel_hud.dll", failure);
        if (!failure && fs::exists(home.symbols, failure))
            copyWritable(home.symbols, game_ / "tarvel_hud.dll.debug", failure);
        laidOut_ = !failure;
        if (options.watch) {
            const DWORD self = GetCurrentProcessId();
            again_ = CreateEventA(nullptr, FALSE, FALSE, eventName(self, "again").c_str());
            done_ = CreateEventA(nullptr, FALSE, FALSE, eventName(self, "done").c_str());
        }
    }

    ~GameDirectory() {
        end();
        letGo();
        if (again_) CloseHandle(again_);
        if (done_) CloseHandle(done_);
        if (inUse_ != INVALID_HANDLE_VALUE) CloseHandle(inUse_);
        // The ended game process may hold its program for a moment after it is gone.
        if (!game_.empty()) removePatiently(game_);
    }

    // Plays with the data folder as it is now: 0 when every frame was written.
    int render() {
        if (!problem_.empty()) return fail(problem_);
        std::error_code failure;
        letGo();
        // What the game read last, which it keeps while a settings file is held.
        removePatiently(game_ / "kept");
        fs::rename(game_ / "tarvel_moravik", game_ / "kept", failure);
        failure.clear();
        removePatiently(game_ / "tarvel_moravik");
        layOutData(failure);
        for (const std::string name : dictionaryNames) {
            const std::string file = name + ".txd";
            if (options_.fillArt && !failure &&
                !fs::exists(game_ / "tarvel_moravik" / file, failure))
                linkOrCopy(home_.dictionaries / file, game_ / "tarvel_moravik" / file, failure);
        }
        if (!laidOut_ || failure)
            return fail("cannot lay out a game directory in " + shown(preview::utf8Of(game_)) +
                        ": " + failure.message());
        rendered_ = true;
        if (!options_.watch) {
            if (!start()) return 1;
            WaitForSingleObject(process_.hProcess, INFINITE);
            DWORD exitCode = 1;
            GetExitCodeProcess(process_.hProcess, &exitCode);
            end();
            return copyLog() ? static_cast<int>(exitCode) : 1;
        }
        if (process_.hProcess) {
            SetEvent(again_);
        } else if (!start()) {
            return 1;
        }
        const HANDLE waits[] = {done_, process_.hProcess};
        if (WaitForMultipleObjects(2, waits, FALSE, INFINITE) == WAIT_OBJECT_0)
            return copyLog() ? 0 : 1;
        end();
        return 1;
    }

    // What the plug-in wrote to its log, as a player's game directory would hold it.
    bool copyLog() const {
        if (options_.log.empty()) return true;
        const fs::path log = game_ / "tarvel_moravik" / "tarvel_hud.log";
        std::error_code failure;
        if (!fs::exists(log, failure))
            return fail("the plug-in wrote no log (tarvel_moravik\\tarvel_hud.log) in this run") ==
                   0;
        fs::copy_file(log, preview::pathOf(options_.log), fs::copy_options::overwrite_existing,
                      failure);
        if (failure) return fail("cannot write the plug-in's log to " + shown(options_.log)) == 0;
        return true;
    }

  private:
    // Copies the data folder's tarvel_moravik. A file another program holds is waited for;
    // one still held is laid out held too, so that the game meets it as it would.
    void layOutData(std::error_code& failure) {
        const fs::path from = preview::pathOf(options_.data) / "tarvel_moravik";
        const fs::path to = game_ / "tarvel_moravik";
        fs::create_directories(to, failure);
        for (fs::recursive_directory_iterator it(from, failure), end; !failure && it != end;
             it.increment(failure)) {
            const fs::path copy = to / it->path().lexically_relative(from);
            if (it->is_directory(failure)) {
                fs::create_directories(copy, failure);
            } else if (heldThroughTheWait(it->path())) {
                holdAsHeld(it->path(), copy, game_ / "kept" / it->path().lexically_relative(from));
            } else {
                copyWritable(it->path(), copy, failure);
            }
        }
    }

    void holdAsHeld(const fs::path& file, const fs::path& copy, const fs::path& kept) {
        const bool settings = _wcsicmp(file.extension().c_str(), L".ini") == 0;
        std::error_code failure;
        // Each render loads the plug-in afresh: the settings the game keeps come from the copy
        // it read them from.
        if (settings && rendered_) copyWritable(kept, copy, failure);
        const HANDLE held =
            settings && rendered_ && !failure
                ? INVALID_HANDLE_VALUE
                : CreateFileW(copy.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
        if (held != INVALID_HANDLE_VALUE) held_.push_back(held);
        const char* const what = !settings ? "draws what uses its pictures without them"
                                 : rendered_
                                     ? "keeps the settings it has"
                                     : "draws its built-in defaults for it at its first load";
        say(stderr,
            "preview: another program holds %s open and lets no one read it: the game "
            "%s, and so does this render\n",
            shown(preview::utf8Of(file)).c_str(), what);
    }

    void letGo() {
        for (const HANDLE held : held_)
            CloseHandle(held);
        held_.clear();
    }

    bool start() {
        const fs::path program = programPath();
        const fs::path& home = home_.folder;
        std::string command = quoted(preview::utf8Of(game_ / program.filename())) + " --play";
        command += " --scenario " + quoted(options_.scenario);
        for (const Size& size : options_.sizes)
            command += " --size " + sizeName(size);
        if (!options_.out.empty()) command += " --out " + quoted(options_.out);
        if (options_.check) command += " --check";
        command += " --fonts " + quoted(preview::utf8Of(home / "fonts"));
        if (options_.watch) command += " --watcher " + std::to_string(GetCurrentProcessId());
        std::wstring wide = wideFromUtf8(command);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        if (!CreateProcessW(nullptr, wide.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
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
    std::string problem_; // why there is no game directory
    fs::path game_;
    HANDLE inUse_ = INVALID_HANDLE_VALUE;
    bool laidOut_ = false;
    PROCESS_INFORMATION process_{};
    HANDLE again_ = nullptr;
    HANDLE done_ = nullptr;
    std::vector<HANDLE> held_; // copies held as another program holds their files
    bool rendered_ = false;
};

} // namespace

int main() {
    Options options;
    std::string error;
    if (!readOptions(arguments(), options, error)) return fail(error);
    if (options.help) {
        say(stdout, "%s\n%s", usage, help);
        return 0;
    }

    const fs::path home = programPath().parent_path();
    // The run inside plays in its own folder, which holds the configuration.
    if (!options.remove.empty()) return removeAfter(options);
    if (options.play) options.data = preview::utf8Of(home);
    const Home found = findHome(home);
    if (options.data.empty()) {
        options.data = preview::utf8Of(found.shipped);
        options.fillArt = true;
    }
    if (options.scenario.empty()) options.scenario = preview::utf8Of(found.scenario);

    std::error_code failure;
    const fs::path data = preview::pathOf(options.data);
    if (!fs::is_directory(data, failure)) return fail("no folder " + shown(options.data));
    if (!fs::is_directory(data / "tarvel_moravik", failure))
        return fail(shown(options.data) + " holds no tarvel_moravik folder");

    preview::Scenario scenario;
    if (!preview::readScenario(options.scenario, scenario, error)) return fail(shown(error));
    if (options.sizes.empty()) options.sizes.push_back({scenario.width, scenario.height});

    if (options.out.empty() && (!options.check || options.watch)) options.out = ".";
    if (!options.out.empty()) {
        fs::create_directories(preview::pathOf(options.out), failure);
        if (!fs::is_directory(preview::pathOf(options.out), failure))
            return fail("cannot make the output folder " + shown(options.out));
    }

    if (options.play) return playHere(options, scenario);
    const auto absolute = [&](std::string& path) {
        if (!path.empty()) path = preview::utf8Of(fs::absolute(preview::pathOf(path), failure));
    };
    absolute(options.data);
    absolute(options.scenario);
    absolute(options.log);
    std::string page;
    if (!options.out.empty()) {
        absolute(options.out);
        if (!preview::writePage(preview::utf8Of(home / "page.html"), options.out, error))
            return fail(error);
        page = fileAddress(options.out + "\\index.html");
    }
    GameDirectory game(options, found);
    if (!options.watch) {
        const int result = game.render();
        if (!page.empty()) say(stdout, "%s\n", page.c_str());
        return result;
    }
    bool first = true;
    preview::watchFolder(preview::utf8Of(preview::pathOf(options.data) / "tarvel_moravik"), [&] {
        if (game.render() != 0) fail("the render failed; still watching");
        if (first) say(stdout, "open %s; it follows every save until Ctrl+C\n", page.c_str());
        say(stdout, "rendered %s\n", timeNow().c_str());
        std::fflush(stdout);
        first = false;
    });
    return 0;
}
