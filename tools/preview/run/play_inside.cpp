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

#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace preview {

namespace {

// The frames of each size as last written, in the order of the sizes.
using FramesBySize = std::vector<std::vector<PageFrame>>;

bool writePageOfSizes(const Options& options, const std::vector<SettingsProblem>& problems,
                      const std::vector<SettingsLines>& lines,
                      const std::vector<SettingValue>& settings, const CheckReport& report,
                      const FramesBySize& framesBySize) {
    PageData page;
    page.problems = problems;
    page.settingsLines = lines;
    page.settings = settings;
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
    if (writePageData(options.out, page, error)) return true;
    fail(error);
    return false;
}

// Plays every size once inside the game directory this program was copied to. The page is
// written again as each size is done, so that a watched layout shows at its first size soon.
int playSizes(const Options& options, const Scenario& scenario, const Fonts& fonts,
              FramesBySize& framesBySize) {
    const fs::path gameDirectory = fs::path(modulePath()).parent_path();
    // Fresh for every render: a watched dictionary may have changed.
    DictionaryTextures textures;
    const auto problems = findSettingsProblems(utf8Of(gameDirectory) + "\\");
    const auto lines = countSettingsLines(utf8Of(gameDirectory) + "\\");
    const auto settings = settingValues(utf8Of(gameDirectory) + "\\");
    framesBySize.resize(options.sizes.size());
    CheckReport report;
    report.unusableDictionaries = unusableDictionaries(gameDirectory / "tarvel_moravik");
    for (size_t sizeIndex = 0; sizeIndex < options.sizes.size(); ++sizeIndex) {
        const Size& size = options.sizes[sizeIndex];
        std::vector<PageFrame> frames;
        PlayOptions play;
        play.width = size.width;
        play.height = size.height;
        play.fonts = &fonts;
        play.textures = &textures;
        // A capture's layout comes right after its frame; the page shows both.
        play.layout = [&](const CaptureLayout& layout) {
            if (!frames.empty()) frames.back().layout = layout;
            report.add(layout);
            return true;
        };
        std::vector<std::string> missingTextures;
        play.missingTextures = &missingTextures;
        if (!options.out.empty())
            play.capture = [&](const std::string& name, const Image& frame) {
                const std::string image = name + "_" + sizeName(size.width, size.height) + ".png";
                const std::string file = options.out + "\\" + image;
                frames.push_back({image, {}});
                std::string error;
                if (!writePng(file, frame, error)) {
                    say(stderr, "preview: %s\n", error.c_str());
                    return false;
                }
                if (options.watcher.empty()) say(stdout, "%s\n", shown(file).c_str());
                std::fflush(stdout);
                return true;
            };
        std::string error;
        if (!playScenario(scenario, play, error)) return fail(error);
        report.addMissing(missingTextures);
        framesBySize[sizeIndex] = std::move(frames);
        if (!options.out.empty() &&
            !writePageOfSizes(options, problems, lines, settings, report, framesBySize))
            return 1;
    }
    std::printf("%s\n", settingsLinesNote(lines).c_str());
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
