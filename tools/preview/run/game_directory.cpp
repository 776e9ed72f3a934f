#include "tools/preview/run/game_directory.h"

#include "tools/preview/check/hud_dictionaries.h"
#include "tools/preview/edit/edit_server.h"
#include "tools/preview/edit/settings_edit.h"
#include "tools/preview/files/whole_files.h"
#include "tools/preview/page/page.h"
#include "tools/preview/page/watch.h"
#include "tools/preview/render/capture_layout.h"
#include "tools/preview/run/console.h"
#include "tools/preview/run/game_files.h"
#include "tools/preview/run/leftovers.h"
#include "tools/preview/run/temporary_folder.h"
#include "tools/preview/run/two_runs.h"

#include "config/utf8_files.h"
#include "windows/windows_paths.h"

#include <cstdio>
#include <cwchar>
#include <map>
#include <mutex>
#include <optional>
#include <utility>

namespace fs = std::filesystem;

namespace preview {

namespace {
// Longer than any render of many sizes takes on a busy machine, where Wine may itself be
// emulated: two minutes were seen to end a game that was still drawing.
constexpr DWORD hungMilliseconds = 600'000;
} // namespace

GameDirectory::GameDirectory(const Options& options, const Home& home)
    : options_(options), home_(home) {
    const fs::path temporary = temporaryFolder(problem_);
    if (temporary.empty()) return;
    removeStaleGameDirectories(temporary);
    game_ = temporary / (gameDirectoryPrefix + std::to_wstring(GetCurrentProcessId()));
    std::error_code ignored;
    fs::remove_all(game_, ignored);
    // A folder that cannot be made shows as the copies into it failing.
    fs::create_directories(game_, ignored);
    // Held open while this run lasts: a later run removes the folder only once it is gone.
    inUse_ = CreateFileW((game_ / inUseFile).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
    programCopied_ = copyProgramAndPlugin();
    if (options.watch) {
        const DWORD self = GetCurrentProcessId();
        again_ = CreateEventA(nullptr, FALSE, FALSE, eventName(self, "again").c_str());
        done_ = CreateEventA(nullptr, FALSE, FALSE, eventName(self, "done").c_str());
    }
}

GameDirectory::~GameDirectory() {
    end();
    letGo();
    if (again_) CloseHandle(again_);
    if (done_) CloseHandle(done_);
    if (inUse_ != INVALID_HANDLE_VALUE) CloseHandle(inUse_);
    // The ended game process may hold its program for a moment after it is gone.
    if (!game_.empty()) removePatiently(game_);
}

int GameDirectory::render(Size first) {
    if (!problem_.empty()) return fail(problem_);
    letGo();
    std::error_code failure = programCopied_;
    if (!failure) failure = syncDataFolder();
    if (!failure && options_.fillArt) failure = fillMissingDictionaries();
    if (failure)
        return fail("cannot lay out a game directory in " + shown(utf8Of(game_)) + ": " +
                    failure.message());
    rendered_ = true;
    return options_.watch ? playAgain(first) : playOnce();
}

std::error_code GameDirectory::copyProgramAndPlugin() const {
    std::error_code failure;
    const fs::path program = modulePath();
    copyWritable(program, game_ / program.filename(), failure);
    if (failure) return failure;
    copyWritable(home_.plugin, game_ / "tarvel_hud.dll", failure);
    if (failure) return failure;
    std::error_code noSymbols;
    if (fs::exists(home_.symbols, noSymbols))
        copyWritable(home_.symbols, game_ / "tarvel_hud.dll.debug", failure);
    return failure;
}

std::error_code GameDirectory::syncDataFolder() {
    const fs::path from = pathOf(options_.data) / "tarvel_moravik";
    const fs::path to = game_ / "tarvel_moravik";
    std::error_code failure;
    fs::create_directories(to, failure);
    if (failure) return failure;
    std::map<fs::path, FileStamp> seen;
    // One failure stops the copy: the walk, a folder or a file.
    for (fs::recursive_directory_iterator it(from, failure), end; !failure && it != end;
         it.increment(failure)) {
        const fs::path relative = it->path().lexically_relative(from);
        const fs::path copy = to / relative;
        // The editor's file being written is gone in a moment, swapped in as the file itself.
        if (it->path().extension() == beingWritten) continue;
        if (it->is_directory(failure)) {
            fs::create_directories(copy, failure);
            continue;
        }
        if (heldThroughTheWait(it->path())) {
            holdAsHeld(it->path(), copy);
            continue;
        }
        const FileStamp stamp = stampOf(it->path());
        seen[relative] = stamp;
        const auto copied = copied_.find(relative);
        if (copied != copied_.end() && copied->second == stamp) continue;
        // Swapped in whole: the running game's plug-in sees a new file at its next look.
        copyLettingItBeReplaced(it->path(), copy, failure);
        if (!failure) copied_[relative] = stamp;
    }
    if (failure) return failure;
    // A file deleted from the data folder is deleted from the game's too; what the game wrote
    // there itself (its log) and the dictionaries filled in stay.
    for (auto it = copied_.begin(); it != copied_.end();) {
        if (seen.count(it->first)) {
            ++it;
            continue;
        }
        std::error_code gone;
        fs::remove(to / it->first, gone);
        it = copied_.erase(it);
    }
    return {};
}

std::error_code GameDirectory::fillMissingDictionaries() const {
    for (const std::string& name : hudDictionaryStems()) {
        const fs::path copy = game_ / "tarvel_moravik" / (name + ".txd");
        std::error_code failure;
        if (fs::exists(copy, failure) || failure) {
            if (failure) return failure;
            continue;
        }
        linkOrCopy(home_.dictionaries / (name + ".txd"), copy, failure);
        if (failure) return failure;
    }
    return {};
}

int GameDirectory::playOnce() {
    if (!start()) return 1;
    WaitForSingleObject(process_.hProcess, INFINITE);
    DWORD exitCode = 1;
    GetExitCodeProcess(process_.hProcess, &exitCode);
    end();
    return copyLog() ? static_cast<int>(exitCode) : 1;
}

int GameDirectory::playAgain(Size first) {
    // Read by the run inside as it starts the render.
    const fs::path firstSize = game_ / firstSizeFile;
    std::error_code ignored;
    fs::remove(firstSize, ignored);
    std::string unwritten;
    if (first.width > 0)
        writeWholeFile(
            utf8Of(firstSize),
            [&](std::ostream& file) { return bool(file << sizeName(first.width, first.height)); },
            unwritten);
    if (process_.hProcess) {
        SetEvent(again_);
    } else if (!start()) {
        return 1;
    }
    // A game that ended or hangs (a plug-in fault, a hostile file) is replaced once per render:
    // the new one renders what the old one was asked for, and its page says what happened.
    for (bool replaced = false;; replaced = true) {
        const HANDLE waits[] = {done_, process_.hProcess};
        const DWORD waited = WaitForMultipleObjects(2, waits, FALSE, hungMilliseconds);
        if (waited == WAIT_OBJECT_0) return copyLog() ? 0 : 1;
        DWORD exitCode = 0;
        GetExitCodeProcess(process_.hProcess, &exitCode);
        end();
        char what[200];
        if (waited == WAIT_TIMEOUT)
            std::snprintf(what, sizeof what,
                          "The game drew nothing for %lu s and was ended; a new game was started.",
                          hungMilliseconds / 1000);
        else
            std::snprintf(what, sizeof what,
                          "The game ended (exit code 0x%lX) and a new game was started.", exitCode);
        say(stderr, "preview: %s\n", what);
        if (replaced) return 1;
        std::string unwrittenNote;
        writeWholeFile(
            utf8Of(game_ / gameNoteFile), [&](std::ostream& file) { return bool(file << what); },
            unwrittenNote);
        if (!start()) return 1;
    }
}

bool GameDirectory::copyLog() const {
    if (options_.log.empty()) return true;
    const fs::path log = game_ / "tarvel_moravik" / "tarvel_hud.log";
    std::error_code missing;
    if (!fs::exists(log, missing))
        return fail("the plug-in wrote no log (tarvel_moravik\\tarvel_hud.log) in this run") == 0;
    std::error_code unwritten;
    fs::copy_file(log, pathOf(options_.log), fs::copy_options::overwrite_existing, unwritten);
    if (unwritten) return fail("cannot write the plug-in's log to " + shown(options_.log)) == 0;
    return true;
}

void GameDirectory::holdAsHeld(const fs::path& file, const fs::path& copy) {
    const bool settings = _wcsicmp(file.extension().c_str(), L".ini") == 0;
    // The running game read its settings from the copy it has: it keeps them, as a player's
    // game keeps what it read while an editor holds the file.
    std::error_code noCopy;
    const bool keeps = settings && rendered_ && fs::exists(copy, noCopy);
    if (!keeps) {
        const HANDLE held = CreateFileW(copy.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                        CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (held != INVALID_HANDLE_VALUE) held_.push_back(held);
    }
    // Copied again once let go, whatever its stamp says then.
    copied_.erase(copy.lexically_relative(game_ / "tarvel_moravik"));
    const char* const what = !settings ? "draws what uses its pictures without them"
                             : keeps   ? "keeps the settings it has"
                                       : "draws its built-in defaults for it at its first load";
    say(stderr,
        "preview: another program holds %s open and lets no one read it: the game "
        "%s, and so does this render\n",
        shown(utf8Of(file)).c_str(), what);
}

void GameDirectory::letGo() {
    for (const HANDLE held : held_)
        CloseHandle(held);
    held_.clear();
}

bool GameDirectory::start() {
    const fs::path program = modulePath();
    std::string command = quoted(utf8Of(game_ / program.filename())) + " --play";
    command += " --scenario " + quoted(options_.scenario);
    for (const Size& size : options_.sizes)
        command += " --size " + sizeName(size.width, size.height);
    if (!options_.out.empty()) command += " --out " + quoted(options_.out);
    if (options_.check) command += " --check";
    command += " --fonts " + quoted(utf8Of(home_.folder / "fonts"));
    if (options_.watch) command += " --watcher " + std::to_string(GetCurrentProcessId());
    std::wstring wide = wideFromUtf8(command);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessW(nullptr, wide.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                        &process_)) {
        process_ = {};
        return fail("cannot start the game process") == 0;
    }
    CloseHandle(process_.hThread);
    return true;
}

void GameDirectory::end() {
    if (!process_.hProcess) return;
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_.hProcess, 1);
        WaitForSingleObject(process_.hProcess, INFINITE);
    }
    CloseHandle(process_.hProcess);
    process_ = {};
}

int renderFromOutside(const Options& options, const Home& home) {
    std::string page;
    if (!options.out.empty()) {
        std::string error;
        if (!writePage(utf8Of(home.folder / "page.html"), options.out, error)) return fail(error);
        page = fileAddress(options.out + "\\index.html");
    }
    GameDirectory game(options, home);
    // The size of the frame the last edit was made in, and whether a render is yet to take it:
    // a change made in no frame (a colour, an undo) is drawn at that size first too.
    std::mutex editedLock;
    Size edited{0, 0};
    bool editedUnrendered = false;
    // Stopped as the watch ends, before the game directory is cleared away.
    std::optional<EditServer> editor;
    if (options.edit) {
        std::string error;
        editor.emplace(options.out, options.data);
        // The editor's saves are whole: rendered at once, the edited size first.
        editor->afterWrite([&](int width, int height) {
            {
                const std::lock_guard<std::mutex> hold(editedLock);
                if (width > 0 && height > 0) edited = {width, height};
                editedUnrendered = true;
            }
            renderSoon();
        });
        if (!editor->start(error)) return fail(error);
        page = editor->address();
        say(stdout, "editor at %s\n", page.c_str());
        std::fflush(stdout);
    }
    if (!options.watch) {
        const int result = game.render();
        if (!page.empty()) say(stdout, "%s\n", page.c_str());
        return result;
    }
    bool first = true;
    watchFolder(utf8Of(pathOf(options.data) / "tarvel_moravik"), [&] {
        Size editedFirst{0, 0};
        {
            const std::lock_guard<std::mutex> hold(editedLock);
            if (std::exchange(editedUnrendered, false)) editedFirst = edited;
        }
        if (game.render(editedFirst) != 0) fail("the render failed; still watching");
        if (first) say(stdout, "open %s; it follows every save until Ctrl+C\n", page.c_str());
        say(stdout, "rendered %s\n", timeNow().c_str());
        std::fflush(stdout);
        first = false;
    });
    return 0;
}

} // namespace preview
