// Unload leaves the game's code as the plug-in found it: the bytes each frame writes to switch
// off the game's own HUD go back too, except where something else has rewritten them since.
#include "sim/busy_game.h"
#include "sim/host_data.h"
#include "sim/host_radar.h"
#include "support/plugin_session.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

using testing_support::PluginSession;

namespace {

using Bytes = std::vector<uint8_t>;

struct Stretch {
    uint32_t address;
    size_t size;
};
constexpr Stretch hudCode[] = {
    {sim::hudRoutineA, 4}, {sim::hudRoutineB, 4}, {sim::hudCodeByteA, 1}, {sim::hudCodeByteB, 1}};

TEST(UnloadAfterFrames, PutsTheGamesHudCodeBack) {
    testing_support::removeDataFolder();
    sim::layOut(sim::Build::v100);
    std::vector<Bytes> before;
    for (const auto& stretch : hudCode)
        before.push_back(sim::bytes(stretch.address, stretch.size));
    {
        PluginSession plugin(sim::Build::v100, false);
        sim::fire(sim::Event::Start);
        sim::fire(sim::Event::HudDraw);
        sim::fire(sim::Event::HudDraw);
        ASSERT_EQ(sim::bytes(sim::hudRoutineA, 1), Bytes{0xC3});
    }
    for (size_t i = 0; i < std::size(hudCode); ++i)
        EXPECT_EQ(sim::bytes(hudCode[i].address, hudCode[i].size), before[i])
            << std::hex << hudCode[i].address;
}

TEST(UnloadAfterFrames, LeavesHudCodeThatSomethingElseRewroteSince) {
    testing_support::removeDataFolder();
    sim::layOut(sim::Build::v100);
    const Bytes othersRoutineB = {0x55, 0x8B, 0xEC, 0x90};
    const Bytes gamesRoutineA = sim::bytes(sim::hudRoutineA, 4);
    {
        PluginSession plugin(sim::Build::v100, false);
        sim::fire(sim::Event::HudDraw);
        std::memcpy(&sim::at<uint8_t>(sim::hudRoutineB), othersRoutineB.data(), 4);
    }
    EXPECT_EQ(sim::bytes(sim::hudRoutineB, 4), othersRoutineB);
    EXPECT_EQ(sim::bytes(sim::hudRoutineA, 4), gamesRoutineA);
}

// Every place in the game's code the plug-in writes: the HUD code, the event call sites and the
// radar routines.
std::vector<Bytes> siteBytes() {
    std::vector<Stretch> sites(std::begin(hudCode), std::end(hudCode));
    for (sim::Event event : sim::allEvents)
        sites.push_back({sim::siteOf(event, sim::Build::v100), 6});
    for (uint32_t routine :
         {sim::radarToScreenRoutine, sim::radarLimitRoutine, sim::radarMaskFansRoutine})
        sites.push_back({routine, 5});
    std::vector<Bytes> held;
    for (const auto& site : sites)
        held.push_back(sim::bytes(site.address, site.size));
    return held;
}

// Texts and sprites drawn in a frame with everything on screen.
size_t drawnInAFrame() {
    sim::clearCalls();
    sim::advanceBusyFrame();
    sim::fire(sim::Event::HudDraw);
    sim::fire(sim::Event::PhoneDraw);
    return sim::countCalls("printText") + sim::countCalls("drawSprite");
}

// A frame drew the HUD (its money among the texts) and drew it once: no text printed twice at one
// place, as two copies drawing would.
bool hudDrawnOnce() {
    drawnInAFrame();
    std::set<std::pair<std::u16string, std::vector<double>>> printed;
    bool money = false;
    for (const auto& call : sim::callsTo("printText")) {
        money = money || call.text.starts_with(u"$");
        if (!printed.insert({call.text, call.numbers}).second) return false;
    }
    return money;
}

void startTheGame() {
    sim::fire(sim::Event::Start);
    sim::fire(sim::Event::RadarPatch);
    sim::showEverything();
}

std::string logText() {
    std::ifstream file(testing_support::dataFilePath("tarvel_hud.log"), std::ios::binary);
    std::ostringstream log;
    log << file.rdbuf();
    return log.str();
}

// A copy of the plug-in under another name, as a second install or a hot reloader has it.
std::string copyOfThePlugin(const std::string& relativeName) {
    namespace fs = std::filesystem;
    const std::string folder = testing_support::gameDirectory();
    const std::string copy = folder + relativeName;
    fs::create_directories(fs::path(copy).parent_path());
    EXPECT_TRUE(CopyFileA((folder + "tarvel_hud.dll").c_str(), copy.c_str(), FALSE));
    return copy;
}

// A player who installed the plug-in twice: tarvel_hud.dll in the game folder and an .asi in
// scripts\, loaded in either order and unloaded in either order.
TEST(TwoCopiesLoaded, OnlyOneWorksTheGameAndEitherGoesFirstLeavingTheGameAsItWas) {
    testing_support::removeDataFolder();
    const std::string dll = testing_support::gameDirectory() + "tarvel_hud.dll";
    const std::string asi = copyOfThePlugin("scripts\\tarvel_hud.asi");
    sim::layOut(sim::Build::v100);
    size_t oneCopyDraws = 0;
    {
        PluginSession alone(sim::Build::v100, false);
        startTheGame();
        oneCopyDraws = drawnInAFrame();
        sim::fire(sim::Event::Shutdown);
    }
    ASSERT_GT(oneCopyDraws, 0u);

    for (const bool dllFirst : {true, false}) {
        SCOPED_TRACE(dllFirst ? "the .dll loaded and unloaded first" : "the .asi first");
        sim::layOut(sim::Build::v100);
        const std::vector<Bytes> before = siteBytes();
        HMODULE first = LoadLibraryA((dllFirst ? dll : asi).c_str());
        const std::vector<Bytes> withTheFirst = siteBytes();
        HMODULE second = LoadLibraryA((dllFirst ? asi : dll).c_str());
        ASSERT_TRUE(first && second && first != second);
        EXPECT_EQ(siteBytes(), withTheFirst) << "the second copy writes nothing";

        startTheGame();
        EXPECT_EQ(drawnInAFrame(), oneCopyDraws) << "the HUD is drawn once per frame";
        EXPECT_EQ(sim::loadCount("tarvel_iii"), 1);
        const std::string log = logText();
        EXPECT_THAT(log, testing::StartsWith("tarvel_moravik HUD "));
        const std::string secondCopysLine = "loaded a second time, from " + (dllFirst ? asi : dll) +
                                            ", while the copy loaded from " +
                                            (dllFirst ? dll : asi) + " runs";
        EXPECT_THAT(log, testing::HasSubstr(secondCopysLine));
        EXPECT_THAT(log, testing::HasSubstr("call site HUD draw at"));

        // Each unload in turn; the game plays on between them.
        FreeLibrary(first);
        drawnInAFrame();
        sim::fire(sim::Event::Shutdown);
        sim::fire(sim::Event::Start);
        drawnInAFrame();
        FreeLibrary(second);
        drawnInAFrame();
        EXPECT_EQ(siteBytes(), before) << "every site as the game had it";
    }
    std::filesystem::remove(asi);
}

// A hot reloader that loads the new copy before it frees the old: the new copy waits, touching
// nothing, and when the old one goes it takes the game over, drawing the HUD once a frame.
TEST(TwoCopiesLoaded, TheCopyThatLetsGoHandsTheGameToTheOneWaiting) {
    testing_support::removeDataFolder();
    const std::string dll = testing_support::gameDirectory() + "tarvel_hud.dll";
    const std::string reloaded = copyOfThePlugin("reloaded\\tarvel_hud.asi");
    sim::layOut(sim::Build::v100);
    const std::vector<Bytes> before = siteBytes();
    HMODULE old = LoadLibraryA(dll.c_str());
    ASSERT_TRUE(old);
    startTheGame();
    EXPECT_TRUE(hudDrawnOnce());
    const std::vector<Bytes> withTheOld = siteBytes();

    // A copy that comes and goes while the old one works leaves the game's objects alone.
    sim::clearCalls();
    FreeLibrary(LoadLibraryA(reloaded.c_str()));
    EXPECT_EQ(sim::countCalls("spriteConstruct") + sim::countCalls("spriteDestroy"), 0u);
    EXPECT_EQ(siteBytes(), withTheOld);
    EXPECT_TRUE(hudDrawnOnce());

    HMODULE fresh = LoadLibraryA(reloaded.c_str());
    ASSERT_TRUE(fresh);
    FreeLibrary(old);
    // Back at the first frame, or the second at the latest.
    hudDrawnOnce();
    for (int frame = 1; frame < 4; ++frame)
        EXPECT_TRUE(hudDrawnOnce()) << "frame " << frame;
    EXPECT_THAT(logText(),
                testing::HasSubstr(", loaded from " + reloaded +
                                   ", takes over the game from the copy loaded from " + dll +
                                   ", which was unloaded\r\ngame build 100 recognised"));
    FreeLibrary(fresh);
    drawnInAFrame();
    EXPECT_EQ(siteBytes(), before) << "every site as the game had it";
    EXPECT_EQ(sim::loadCount("tarvel_iii"), 2);
    EXPECT_EQ(sim::releaseCount("tarvel_iii"), 2);
    std::filesystem::remove(reloaded);
}

// Copies of the plug-in under names of their own, made once for the tests below.
std::string copyNamed(const std::string& folder) {
    return copyOfThePlugin(folder + "\\tarvel_hud.asi");
}

std::wstring wide(const std::string& text) {
    return {text.begin(), text.end()};
}

std::wstring claimName() {
    return L"tarvel_moravik_hud.process." + std::to_wstring(GetCurrentProcessId());
}

// A named block of this process, made or opened, mapped for writing.
struct NamedBlock {
    NamedBlock(const std::wstring& name, DWORD size)
        : handle(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, size,
                                    name.c_str())),
          existed(GetLastError() == ERROR_ALREADY_EXISTS),
          view(handle ? static_cast<uint8_t*>(MapViewOfFile(handle, FILE_MAP_WRITE, 0, 0, size))
                      : nullptr) {}
    ~NamedBlock() {
        if (view) UnmapViewOfFile(view);
        if (handle) CloseHandle(handle);
    }
    NamedBlock(const NamedBlock&) = delete;
    NamedBlock& operator=(const NamedBlock&) = delete;
    HANDLE handle;
    bool existed;
    uint8_t* view;
};

// The claim as release 1.0.0 makes and reads it: 64 KiB under the process's name, holding the
// working copy's file name in UTF-16 from its first byte, and nothing else.
constexpr DWORD firstReleasesClaimSize = 65536;

// The line of waiting copies as this release lays it, in a block of its own name: the last ticket
// given, then sixteen places of a module's start and its ticket.
constexpr wchar_t lineSuffix[] = L".line.1";
constexpr DWORD lineSize = 4 + 16 * 8;
void placeInLine(uint8_t* line, size_t place, uint32_t module, uint32_t ticket) {
    std::memcpy(line + 4 + place * 8, &module, 4);
    std::memcpy(line + 4 + place * 8 + 4, &ticket, 4);
}

TEST(OlderRelease, ACopyLoadedBesideTheFirstReleasesCopyWaitsDrawingNothing) {
    const std::string olderCopy = testing_support::gameDirectory() + "scripts\\tarvel_hud.asi";
    const std::string dll = testing_support::gameDirectory() + "tarvel_hud.dll";
    // The second: a block of the name that no release could map at its size.
    for (const DWORD size : {firstReleasesClaimSize, DWORD{4096}}) {
        SCOPED_TRACE(size);
        testing_support::removeDataFolder();
        testing_support::writeDataFile("tarvel_hud.log", "tarvel_moravik HUD 1.0.0, loaded from " +
                                                             olderCopy + "\r\n");
        sim::layOut(sim::Build::v100);
        const std::vector<Bytes> before = siteBytes();
        NamedBlock olderClaim(claimName(), size);
        ASSERT_TRUE(olderClaim.view);
        const std::wstring holder = wide(olderCopy);
        std::memcpy(olderClaim.view, holder.c_str(), (holder.size() + 1) * sizeof(wchar_t));
        const std::vector<uint8_t> olderBlock(olderClaim.view, olderClaim.view + size);
        {
            PluginSession copy(sim::Build::v100, false);
            EXPECT_EQ(siteBytes(), before) << "the new copy writes nothing";
            startTheGame();
            EXPECT_EQ(drawnInAFrame(), 0u);
            EXPECT_EQ(sim::countCalls("spriteConstruct"), 0u);
            EXPECT_EQ(sim::loadCount("tarvel_iii"), 0);
        }
        EXPECT_EQ(siteBytes(), before);
        EXPECT_EQ(std::vector<uint8_t>(olderClaim.view, olderClaim.view + size), olderBlock)
            << "the older copy's claim is left as it was";
        const std::string known = size == firstReleasesClaimSize ? olderCopy : "(unknown)";
        EXPECT_THAT(logText(), testing::StartsWith("tarvel_moravik HUD 1.0.0, loaded from " +
                                                   olderCopy + "\r\ntarvel_moravik HUD "));
        EXPECT_THAT(logText(), testing::HasSubstr(" loaded a second time, from " + dll +
                                                  ", while the copy loaded from " + known +
                                                  ", of an older release, runs: this copy waits"));
    }
}

TEST(OlderRelease, ACopyOfTheFirstReleaseFindsTheGameClaimedAndByWhom) {
    testing_support::removeDataFolder();
    PluginSession working(sim::Build::v100);
    // The first release's copy opens the block at its size and reads the name.
    NamedBlock asTheFirstReleaseOpensIt(claimName(), firstReleasesClaimSize);
    EXPECT_TRUE(asTheFirstReleaseOpensIt.existed);
    ASSERT_TRUE(asTheFirstReleaseOpensIt.view);
    const auto* holder = reinterpret_cast<const wchar_t*>(asTheFirstReleaseOpensIt.view);
    EXPECT_EQ(std::wstring(holder, wcsnlen(holder, firstReleasesClaimSize / 2)),
              wide(testing_support::gameDirectory() + "tarvel_hud.dll"));
}

// Stands for code another program of the same user points the shared blocks at.
bool forgedEntryCalled = false;
void forgedEntry() {
    forgedEntryCalled = true;
}

// The blocks can be written by any program of the same user: the copy letting go calls nothing
// they name unless it is a copy of the plug-in loaded in this process, waiting in the line.
TEST(TwoCopiesLoaded, NoAddressWrittenInTheSharedBlocksIsCalled) {
    testing_support::removeDataFolder();
    const std::string dll = testing_support::gameDirectory() + "tarvel_hud.dll";
    const std::string waiting = copyNamed("waiting");
    sim::layOut(sim::Build::v100);
    const std::vector<Bytes> before = siteBytes();
    HMODULE working = LoadLibraryA(dll.c_str());
    ASSERT_TRUE(working);
    startTheGame();
    const auto forged = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(&forgedEntry));
    const auto program =
        static_cast<uint32_t>(reinterpret_cast<uintptr_t>(GetModuleHandleA(nullptr)));
    const auto workingCopy = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(working));
    {
        // Past the first 64 KiB of the claim, where the build before this one kept its line.
        NamedBlock claim(claimName(), firstReleasesClaimSize + 64);
        ASSERT_TRUE(claim.view);
        std::memcpy(claim.view + firstReleasesClaimSize, &forged, 4);
        // This release's line: code of this program, this program, the working copy.
        NamedBlock line(claimName() + lineSuffix, lineSize);
        ASSERT_TRUE(line.view);
        placeInLine(line.view, 0, forged, 1);
        placeInLine(line.view, 1, program, 1);
        placeInLine(line.view, 2, workingCopy, 1);
    }
    HMODULE next = LoadLibraryA(waiting.c_str());
    ASSERT_TRUE(next);
    FreeLibrary(working);
    EXPECT_FALSE(forgedEntryCalled);
    hudDrawnOnce();
    EXPECT_TRUE(hudDrawnOnce()) << "the waiting copy took over";
    EXPECT_THAT(logText(),
                testing::HasSubstr(", loaded from " + waiting + ", takes over the game"));
    FreeLibrary(next);
    drawnInAFrame();
    EXPECT_EQ(siteBytes(), before);
    std::filesystem::remove(waiting);
}

// Copies that wait and are unloaded leave the line, however many come and go: each from a file
// of its own, so no later copy lands where an earlier one was and stands in for it.
TEST(TwoCopiesLoaded, CopiesUnloadedWhileWaitingAreNotHandedTheGame) {
    testing_support::removeDataFolder();
    const std::string dll = testing_support::gameDirectory() + "tarvel_hud.dll";
    std::vector<std::string> copies;
    for (int copy = 0; copy < 19; ++copy)
        copies.push_back(copyNamed("copy" + std::to_string(copy)));
    sim::layOut(sim::Build::v100);
    const std::vector<Bytes> before = siteBytes();
    HMODULE working = LoadLibraryA(dll.c_str());
    ASSERT_TRUE(working);
    startTheGame();
    // More than the line has places, one after the other.
    for (size_t copy = 0; copy < 17; ++copy) {
        HMODULE passing = LoadLibraryA(copies[copy].c_str());
        ASSERT_TRUE(passing);
        FreeLibrary(passing);
    }
    // Two at once, at two addresses: the first goes, the second is handed the game.
    HMODULE first = LoadLibraryA(copies[17].c_str());
    HMODULE second = LoadLibraryA(copies[18].c_str());
    ASSERT_TRUE(first && second && first != second);
    FreeLibrary(first);
    FreeLibrary(working);
    hudDrawnOnce();
    for (int frame = 1; frame < 3; ++frame)
        EXPECT_TRUE(hudDrawnOnce()) << "frame " << frame;
    EXPECT_THAT(logText(),
                testing::HasSubstr(", loaded from " + copies[18] + ", takes over the game"));
    FreeLibrary(second);
    drawnInAFrame();
    EXPECT_EQ(siteBytes(), before);
    for (const std::string& copy : copies)
        std::filesystem::remove(copy);
}

size_t firstCallTo(const char* routine) {
    const auto& calls = sim::calls();
    for (size_t i = 0; i < calls.size(); ++i)
        if (calls[i].routine == routine) return i;
    return calls.size();
}

size_t lastCallTo(const char* routine) {
    const auto& calls = sim::calls();
    for (size_t i = calls.size(); i > 0; --i)
        if (calls[i - 1].routine == routine) return i - 1;
    return calls.size();
}

// The copy from tarvel_hud.dll working the game, started and drawn, and a copy waiting, loaded
// from a file of its own after it.
struct WorkingAndWaiting {
    explicit WorkingAndWaiting(const std::string& folder) : next(copyNamed(folder)) {
        testing_support::removeDataFolder();
        sim::layOut(sim::Build::v100);
        working = LoadLibraryA((testing_support::gameDirectory() + "tarvel_hud.dll").c_str());
        waiting = LoadLibraryA(next.c_str());
        startTheGame();
        drawnInAFrame();
        sim::clearCalls();
    }
    ~WorkingAndWaiting() {
        FreeLibrary(working);
        FreeLibrary(waiting);
        std::filesystem::remove(next);
    }
    WorkingAndWaiting(const WorkingAndWaiting&) = delete;
    WorkingAndWaiting& operator=(const WorkingAndWaiting&) = delete;
    const std::string next;
    HMODULE working = nullptr;
    HMODULE waiting = nullptr;
};

// The copy that lets go gives the game everything back before the next copy takes it: its
// sprites destroyed and its dictionaries released before the next copy makes its own.
TEST(TwoCopiesLoaded, TheCopyThatLetsGoGivesEverythingBackBeforeTheNextTakesOver) {
    WorkingAndWaiting copies("next");
    ASSERT_TRUE(copies.working && copies.waiting);
    FreeLibrary(std::exchange(copies.working, nullptr));
    ASSERT_EQ(sim::countCalls("spriteDestroy"), 43u);
    ASSERT_EQ(sim::countCalls("spriteConstruct"), 43u);
    EXPECT_LT(lastCallTo("spriteDestroy"), firstCallTo("spriteConstruct")) << sim::describeAll();
    EXPECT_LT(lastCallTo("releaseDictionary"), firstCallTo("spriteConstruct"));
}

// As the system tells the copy working the game that the process ends: its entry point called
// with the reserved pointer set, as for every DLL at exit.
void tellTheProcessEnds(HMODULE module) {
    auto* const image = reinterpret_cast<uint8_t*>(module);
    const auto* headers = reinterpret_cast<const IMAGE_NT_HEADERS*>(
        image + reinterpret_cast<const IMAGE_DOS_HEADER*>(image)->e_lfanew);
    const auto entry = reinterpret_cast<BOOL(WINAPI*)(HINSTANCE, DWORD, LPVOID)>(
        image + headers->OptionalHeader.AddressOfEntryPoint);
    entry(module, DLL_PROCESS_DETACH, reinterpret_cast<LPVOID>(1));
}

// The game is closing: its objects may be gone, and no copy takes the game over.
TEST(TwoCopiesLoaded, NoCopyTakesTheGameOverWhileTheProcessEnds) {
    WorkingAndWaiting copies("at_exit");
    ASSERT_TRUE(copies.working && copies.waiting);
    tellTheProcessEnds(copies.working);
    EXPECT_EQ(sim::countCalls("spriteConstruct"), 0u);
    EXPECT_THAT(logText(), testing::Not(testing::HasSubstr("takes over the game")));
    EXPECT_EQ(drawnInAFrame(), 0u);
}

} // namespace
