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

#include <cwchar>
#include <mutex>
#include <optional>
#include <utility>

namespace fs = std::filesystem;

namespace preview {

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
    keepWhatTheGameReadLast();
    std::error_code failure = programCopied_;
    if (!failure) failure = copyDataFolder();
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

std::error_code GameDirectory::copyDataFolder() {
    const fs::path from = pathOf(options_.data) / "tarvel_moravik";
    const fs::path to = game_ / "tarvel_moravik";
    std::error_code failure;
    fs::create_directories(to, failure);
    if (failure) return failure;
    // One failure stops the copy: the walk, a folder or a file.
    for (fs::recursive_directory_iterator it(from, failure), end; !failure && it != end;
         it.increment(failure)) {
        const fs::path copy = to / it->path().lexically_relative(from);
        // The editor's file being written is gone in a moment, swapped in as the file itself.
        if (it->path().extension() == beingWritten) continue;
        if (it->is_directory(failure)) {
            fs::create_directories(copy, failure);
        } else if (heldThroughTheWait(it->path())) {
            holdAsHeld(it->path(), copy, game_ / "kept" / it->path().lexically_relative(from));
        } else {
            copyLettingItBeReplaced(it->path(), copy, failure);
        }
    }
    return failure;
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
    const HANDLE waits[] = {done_, process_.hProcess};
    if (WaitForMultipleObjects(2, waits, FALSE, INFINITE) == WAIT_OBJECT_0)
        return copyLog() ? 0 : 1;
    end();
    return 1;
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

// What the game read last, which it keeps while a settings file is held.
void GameDirectory::keepWhatTheGameReadLast() {
    removePatiently(game_ / "kept");
    std::error_code notKept;
    fs::rename(game_ / "tarvel_moravik", game_ / "kept", notKept);
    removePatiently(game_ / "tarvel_moravik");
}

void GameDirectory::holdAsHeld(const fs::path& file, const fs::path& copy, const fs::path& kept) {
    const bool settings = _wcsicmp(file.extension().c_str(), L".ini") == 0;
    // Each render loads the plug-in afresh: the settings the game keeps come from the copy it
    // read them from.
    std::error_code notKept;
    if (settings && rendered_) copyWritable(kept, copy, notKept);
    const HANDLE held = settings && rendered_ && !notKept
                            ? INVALID_HANDLE_VALUE
                            : CreateFileW(copy.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                          CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (held != INVALID_HANDLE_VALUE) held_.push_back(held);
    const char* const what = !settings   ? "draws what uses its pictures without them"
                             : rendered_ ? "keeps the settings it has"
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
