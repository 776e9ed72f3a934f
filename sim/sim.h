#pragma once
// The simulated game: makes this program's own process look like the game to the plug-in.
// Host memory is real memory at the game's fixed addresses; host routines are simulator
// functions reached through JMPs written at their addresses; every call is logged.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

constexpr uint32_t imageStart = 0x401000;
constexpr uint32_t imageEnd = 0xB00000;

enum class Build { v100, v110, v120, unknown };

enum class Event { Start, HudDraw, PhoneDraw, RadarPatch, Shutdown, ReloadKey };
constexpr Event allEvents[] = {Event::Start,      Event::HudDraw,  Event::PhoneDraw,
                               Event::RadarPatch, Event::Shutdown, Event::ReloadKey};
constexpr Build knownBuilds[] = {Build::v100, Build::v110, Build::v120};

struct Colour {
    uint8_t r = 0, g = 0, b = 0, a = 0;
    bool operator==(const Colour&) const = default;
};

// One call the plug-in made into the host (or one host callee the host ran).
struct HostCall {
    std::string routine;
    uint32_t object = 0;         // the object of a method, a handle or a site address
    std::vector<double> numbers; // numeric arguments, in order
    std::u16string text;         // a text argument, as the host received it
    std::string name;            // an 8-bit text argument (paths, texture names)
    Colour colour{};
    bool hasColour = false;
    std::string caller; // who made the call, when a caller namer is set
};

// Resets the whole host image and the call log, then lays out the given build: its detection
// probe, every event call site of all three builds, the host routines and the host data.
void layOut(Build build);
Build currentBuild();

uint32_t siteOf(Event event, Build build);
uint32_t siteOf(Event event); // of the current build (0 for an unknown build)
// The value the host callee behind an event's call site returns.
uint32_t calleeResult(Event event);
// Executes the event's call site of the current build as the host would, returning its result.
uint32_t fire(Event event);
uint32_t callAt(uint32_t address);

// The call log.
const std::vector<HostCall>& calls();
void clearCalls();
std::vector<HostCall> callsTo(std::string_view routine);
size_t countCalls(std::string_view routine);
std::string describe(const HostCall& call);
std::string describeAll();
void record(HostCall call);
// Off: the host routines neither check nor log what they are handed, so a benchmark times the
// plug-in alone. On again with every layOut.
void setRecording(bool on);
bool recording();

// The one place that makes a host routine: a JMP at its address to a simulator function.
void installRoutine(uint32_t address, const void* function);

// Each part of the simulated game registers its routines and its state reset once, from a
// static object of its own source file; layOut installs and resets them all.
struct HostRoutine {
    uint32_t address;
    const void* function;
};
struct HostPart {
    HostPart(std::initializer_list<HostRoutine> routines, void (*reset)() = nullptr);
};

// Host memory.
template <class T> T& at(uint32_t address) {
    return *reinterpret_cast<T*>(address);
}
std::vector<uint8_t> bytes(uint32_t address, size_t count);
std::vector<uint8_t> snapshot(); // the whole host range
// Distinct, recognisable code the simulator leaves at addresses the plug-in may rewrite.
void fillRecognisable(uint32_t address, size_t count);

// Faults: the game would crash or misbehave on what the plug-in handed it (a non-finite number,
// a pointer to no readable memory). Each one goes to the handler, which a test program points at
// its test framework, and is kept until cleared.
void setFaultHandler(void (*handler)(const std::string& fault));
// Names the maker of each logged call (the preview's layout check: which HUD element drew it).
// Runs inside the host routine, so it can look at the plug-in's call stack; null for none.
void setCallerNamer(std::string (*namer)());
const std::vector<std::string>& faults();
void clearFaults();
void reportFault(const std::string& fault);
// Checks that the plug-in handed the game a pointer to size readable bytes.
bool checkReadable(const void* pointer, size_t size, const char* what);

// Keyboard, as GetKeyState sees it on this thread.
void setKey(int virtualKey, bool down);
void releaseAllKeys();

} // namespace sim
