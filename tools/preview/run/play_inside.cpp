#include "tools/preview/run/play_inside.h"

#include "tools/preview/check/check_report.h"
#include "tools/preview/check/hud_dictionaries.h"
#include "tools/preview/check/settings_problems.h"
#include "tools/preview/files/whole_files.h"
#include "tools/preview/page/page.h"
#include "tools/preview/render/png_file.h"
#include "tools/preview/run/console.h"
#include "tools/preview/run/leftovers.h"
#include "tools/preview/run/two_runs.h"
#include "tools/preview/scenario/scenario_player.h"

#include "sim/sim.h"
#include "windows/windows_paths.h"

#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <numeric>
#include <optional>

namespace fs = std::filesystem;

namespace preview {

namespace {

// The frames of each size as last written, in the order of the sizes.
using FramesBySize = std::vector<std::vector<PageFrame>>;

// What the play of one size found: each capture's layout, and the textures the game's
// dictionaries lacked.
struct SizeFound {
    std::vector<CaptureLayout> layouts;
    std::vector<std::string> missingTextures;
};
// By size, in the order of the sizes; empty for a size not played yet in this render.
using FoundBySize = std::vector<std::optional<SizeFound>>;

// The report of the sizes played so far, in the order of the sizes whatever order they were
// played in, so that it reads the same either way.
CheckReport reportOf(const FoundBySize& found,
                     const std::vector<std::pair<std::string, std::string>>& unusable) {
    CheckReport report;
    report.unusableDictionaries = unusable;
    for (const auto& size : found) {
        if (!size) continue;
        for (const CaptureLayout& layout : size->layouts)
            report.add(layout);
        report.addMissing(size->missingTextures);
    }
    return report;
}

// The order to play the sizes in: as given, but the one an edit was just made in first, when
// it is one of them (edited says so).
std::vector<size_t> playingOrder(const Options& options, const fs::path& gameDirectory,
                                 bool& edited) {
    edited = false;
    std::vector<size_t> order(options.sizes.size());
    std::iota(order.begin(), order.end(), size_t(0));
    std::string first;
    int width = 0, height = 0;
    if (!readWholeFile(utf8Of(gameDirectory / firstSizeFile), first, 32) ||
        !parseSize(first, width, height))
        return order;
    const auto edit = std::find_if(order.begin(), order.end(), [&](size_t index) {
        return options.sizes[index].width == width && options.sizes[index].height == height;
    });
    if (edit == order.end()) return order;
    std::rotate(order.begin(), edit, edit + 1);
    edited = true;
    return order;
}

// What a render of the game outside its drawing costs, by stage, in milliseconds.
struct RenderCost {
    ULONGLONG start = GetTickCount64();
    ULONGLONG firstPage = 0; // since start: the page that first shows a frame of this render
    ULONGLONG encoding = 0;  // the frames' PNG files
    ULONGLONG pages = 0;     // the page's data
};

// What became of the game before this one, said on the page until the next render.
std::string takeGameNote(const fs::path& gameDirectory) {
    std::string note;
    readWholeFile(utf8Of(gameDirectory / gameNoteFile), note, 4096);
    std::error_code ignored;
    fs::remove(gameDirectory / gameNoteFile, ignored);
    return note;
}

// The game's own use of the system after a render, for the soak of many edits to compare:
// "process ID handles N memory BYTES", and the render's costs.
void noteHealth(const fs::path& gameDirectory, const RenderCost& cost) {
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    K32GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
    DWORD handles = 0;
    GetProcessHandleCount(GetCurrentProcess(), &handles);
    char line[200];
    std::snprintf(
        line, sizeof line,
        "process %lu handles %lu memory %lu render_ms %llu first_page_ms %llu encoding_ms %llu "
        "pages_ms %llu\n",
        GetCurrentProcessId(), handles, static_cast<unsigned long>(memory.PagefileUsage),
        GetTickCount64() - cost.start, cost.firstPage, cost.encoding, cost.pages);
    std::string unwritten;
    writeWholeFile(
        utf8Of(gameDirectory / gameHealthFile),
        [&](std::ostream& file) { return bool(file << line); }, unwritten);
}

bool writePageOfSizes(const Options& options, const std::vector<SettingsProblem>& problems,
                      const std::vector<SettingsLines>& lines,
                      const std::vector<SettingValue>& settings, const CheckReport& report,
                      const FramesBySize& framesBySize, const std::string& note, RenderCost& cost) {
    const ULONGLONG start = GetTickCount64();
    PageData page;
    page.problems = problems;
    page.settingsLines = lines;
    page.settings = settings;
    page.missingTextures = report.missingTextureLines();
    page.summary = note.empty() ? report.summary(problems) : note + " " + report.summary(problems);
    page.problemCount = report.problems(problems);
    for (const auto& frames : framesBySize)
        page.frames.insert(page.frames.end(), frames.begin(), frames.end());
    page.rendered = timeNow();
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    page.stamp = static_cast<long long>(now.dwHighDateTime) << 32 | now.dwLowDateTime;
    std::string error;
    // The editor's server may be reading the data as it is replaced: tried again for a moment.
    bool written = writePageData(options.out, page, error);
    for (int attempt = 0; !written && attempt < 40; ++attempt) {
        Sleep(25);
        written = writePageData(options.out, page, error);
    }
    const ULONGLONG end = GetTickCount64();
    cost.pages += end - start;
    if (written && cost.firstPage == 0 && !page.frames.empty()) cost.firstPage = end - cost.start;
    if (written) return true;
    fail(error);
    return false;
}

// Plays every size once inside the game directory this program was copied to. The page is
// written again as each size is done, so that a watched layout shows at its first size soon;
// after an edit made in a frame of one of the sizes, that size comes first, capture by capture.
int playSizes(const Options& options, const Scenario& scenario, const Fonts& fonts,
              FramesBySize& framesBySize) {
    const fs::path gameDirectory = fs::path(modulePath()).parent_path();
    RenderCost cost;
    const std::string note = takeGameNote(gameDirectory);
    // Fresh for every render: a watched dictionary may have changed.
    DictionaryTextures textures;
    const auto problems = findSettingsProblems(utf8Of(gameDirectory) + "\\");
    const auto lines = countSettingsLines(utf8Of(gameDirectory) + "\\");
    const auto settings = settingValues(utf8Of(gameDirectory) + "\\");
    framesBySize.resize(options.sizes.size());
    const auto unusable = unusableDictionaries(gameDirectory / "tarvel_moravik");
    FoundBySize found(options.sizes.size());
    // An edit's size shows capture by capture.
    bool edited = false;
    const std::vector<size_t> order = playingOrder(options, gameDirectory, edited);
    bool firstPlayed = true;
    for (const size_t sizeIndex : order) {
        const Size& size = options.sizes[sizeIndex];
        SizeFound& sizeFound = found[sizeIndex].emplace();
        std::vector<PageFrame> frames;
        PlayOptions play;
        play.width = size.width;
        play.height = size.height;
        play.fonts = &fonts;
        play.textures = &textures;
        // A capture's layout comes right after its frame; the page shows both.
        play.layout = [&](const CaptureLayout& layout) {
            if (!frames.empty()) frames.back().layout = layout;
            sizeFound.layouts.push_back(layout);
            if (!edited || !firstPlayed || frames.empty()) return true;
            // Beside the size's other captures as last rendered.
            FramesBySize shown = framesBySize;
            std::vector<PageFrame>& last = shown[sizeIndex];
            last.erase(last.begin(),
                       last.begin() + std::ptrdiff_t(std::min(frames.size(), last.size())));
            last.insert(last.begin(), frames.begin(), frames.end());
            return writePageOfSizes(options, problems, lines, settings, reportOf(found, unusable),
                                    shown, note, cost);
        };
        play.missingTextures = &sizeFound.missingTextures;
        if (!options.out.empty())
            play.capture = [&](const std::string& name, const Image& frame) {
                const std::string image = name + "_" + sizeName(size.width, size.height) + ".png";
                const std::string file = options.out + "\\" + image;
                frames.push_back({image, {}});
                std::string error;
                const ULONGLONG start = GetTickCount64();
                // A watched page's frames are replaced at the next render: fast to write.
                const bool written = writePng(file, frame, error,
                                              options.watcher.empty() ? PngCompression::Small
                                                                      : PngCompression::Fast);
                cost.encoding += GetTickCount64() - start;
                if (!written) {
                    say(stderr, "preview: %s\n", error.c_str());
                    return false;
                }
                if (options.watcher.empty()) say(stdout, "%s\n", shown(file).c_str());
                std::fflush(stdout);
                return true;
            };
        std::string error;
        if (!playScenario(scenario, play, error)) return fail(error);
        framesBySize[sizeIndex] = std::move(frames);
        firstPlayed = false;
        if (!options.out.empty() &&
            !writePageOfSizes(options, problems, lines, settings, reportOf(found, unusable),
                              framesBySize, note, cost))
            return 1;
    }
    noteHealth(gameDirectory, cost);
    const CheckReport report = reportOf(found, unusable);
    say(stdout, "%s\n", settingsLinesNote(lines).c_str());
    for (const auto& line : report.lines(problems))
        say(stdout, "%s\n", line.c_str());
    std::fflush(stdout);
    return options.check && report.problems(problems) > 0 ? 1 : 0;
}

} // namespace

int playHere(const Options& options, const Scenario& scenario) {
    Fonts fonts;
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
    const fs::path self = modulePath();
    removeOnceEnded(self.parent_path(), pathOf(options.fonts).parent_path() / self.filename());
    return 0;
}

} // namespace preview
